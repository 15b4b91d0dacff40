#include "renderer/window.h"

namespace renderer {
namespace {

// The window procedure is called by the system without context; the program
// running WinMain is the one it serves.
Program* currentProgram = nullptr;

constexpr std::int32_t LowWord(std::intptr_t value) { return static_cast<std::int32_t>(value & 0xFFFF); }
constexpr std::int32_t HighWord(std::intptr_t value) { return static_cast<std::int32_t>((value >> 16) & 0xFFFF); }

PixelFormatRequest DescriptorFor(const WindowSetup& setup) {
  PixelFormatRequest request;
  request.drawToWindow = true;
  request.supportOpenGl = true;
  request.doubleBuffer = true;
  request.colorBits = static_cast<std::uint8_t>(setup.bitsPerPixel);
  request.depthBits = 16;
  return request;
}

}  // namespace

bool RegisterRenderClass(Program& program, const ProgramInfo& info) {
  return program.platform->RegisterWindowClass(info.hInstance, info.className, RendererWndProc);
}

bool SwitchDisplayMode(Program& program, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
  return program.platform->ChangeDisplayMode(width, height, bitsPerPixel);
}

bool OpenRenderWindow(Program& program, RenderWindow& window) {
  Platform& platform = *program.platform;
  WindowSetup& setup = window.setup;
  std::uint32_t style = StyleOverlappedWindow;
  std::uint32_t exStyle = ExStyleAppWindow;
  Rect rect{0, 0, setup.width, setup.height};

  const bool windowedFromStart = setup.fullScreen != True32;
  bool switched = false;
  if (!windowedFromStart) {
    if (SwitchDisplayMode(program, setup.width, setup.height, setup.bitsPerPixel)) {
      switched = true;
      platform.ShowCursor(false);
      style = StylePopup;
      exStyle |= ExStyleTopmost;
    } else {
      // Refused: windowed, and the rectangle stays as it is.
      setup.fullScreen = False32;
    }
  }
  if (windowedFromStart) platform.AdjustWindowRect(rect, style, exStyle);

  // A failure after a successful switch puts the desktop back as well: X,
  // unlike Windows, keeps a switched mode after the process is gone.
  auto undoSwitch = [&] {
    if (!switched) return;
    platform.RestoreDisplayMode();
    platform.ShowCursor(true);
  };

  window.hWnd = platform.NewWindow(exStyle, setup.program->className, setup.title, style, 0, 0,
                                   rect.right - rect.left, rect.bottom - rect.top,
                                   setup.program->hInstance, &window);
  if (!window.hWnd) {
    undoSwitch();
    return false;
  }

  auto destroyWindow = [&] {
    platform.DestroyWindow(window.hWnd);
    window.hWnd = nullptr;
    undoSwitch();
  };
  auto releaseDc = [&] {
    platform.ReleaseDC(window.hWnd, window.hDC);
    window.hDC = nullptr;
    destroyWindow();
  };
  auto deleteContext = [&] {
    platform.DeleteGlContext(window.hRC);
    window.hRC = nullptr;
    releaseDc();
  };

  window.hDC = platform.GetDC(window.hWnd);
  if (!window.hDC) {
    destroyWindow();
    return false;
  }
  const PixelFormatRequest request = DescriptorFor(setup);
  const int format = platform.ChoosePixelFormat(window.hDC, request);
  if (format == 0 || !platform.SetPixelFormat(window.hDC, format, request)) {
    releaseDc();
    return false;
  }
  window.hRC = platform.CreateGlContext(window.hDC);
  if (!window.hRC) {
    releaseDc();
    return false;
  }
  if (!platform.MakeCurrent(window.hDC, window.hRC)) {
    deleteContext();
    return false;
  }

  platform.ShowWindow(window.hWnd);
  window.visible = True32;
  // The configured size decides the projection until the next resize.
  program.setProjection(setup.width, setup.height);
  window.keys->fill(False32);
  window.lastTick = platform.GetTickCount();
  return true;
}

bool CloseRenderWindow(Program& program, RenderWindow& window) {
  Platform& platform = *program.platform;
  if (window.hWnd) {
    if (window.hDC) {
      platform.MakeCurrent(window.hDC, nullptr);
      if (window.hRC) {
        platform.DeleteGlContext(window.hRC);
        window.hRC = nullptr;
      }
      platform.ReleaseDC(window.hWnd, window.hDC);
      window.hDC = nullptr;
    }
    platform.DestroyWindow(window.hWnd);
    window.hWnd = nullptr;
  }
  if (window.setup.fullScreen == True32) {
    platform.RestoreDisplayMode();
    platform.ShowCursor(true);
  }
  return true;
}

void RequestQuit(RenderWindow& window) {
  if (!currentProgram) return;
  currentProgram->platform->PostQuit(window.hWnd);
  currentProgram->keepRunning = False32;
}

void RunMessageLoop(Program& program, RenderWindow& window) {
  Platform& platform = *program.platform;
  Message message;
  for (;;) {
    if (platform.PeekWindowMessage(window.hWnd, message)) {
      if (message.message == MsgQuit) return;
      platform.DispatchWindowMessage(message);
    } else if (window.visible == True32) {
      const std::uint32_t now = platform.GetTickCount();
      program.scene->Step(now - window.lastTick);
      window.lastTick = now;
      program.scene->Draw();
      platform.SwapBuffers(window.hDC);
    } else {
      platform.WaitMessage();
    }
  }
}

std::intptr_t RendererWndProc(WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
  Program* program = currentProgram;
  if (!program) return 0;
  Platform& platform = *program->platform;
  const Message asMessage{hWnd, message, wParam, lParam};

  if (message == MsgCreate) {
    platform.SetWindowUserData(hWnd, reinterpret_cast<void*>(lParam));
    return 0;
  }
  auto* window = static_cast<RenderWindow*>(platform.GetWindowUserData(hWnd));
  if (!window) return platform.DefaultProcessing(asMessage);

  switch (message) {
    case MsgSize:
      if (wParam == SizeMinimized) {
        window->visible = False32;
        return 0;
      }
      if (wParam == SizeRestored || wParam == SizeMaximized) {
        window->visible = True32;
        program->setProjection(LowWord(lParam), HighWord(lParam));
        return 0;
      }
      break;
    case MsgClose:
      RequestQuit(*window);
      return 0;
    case MsgKeyDown:
    case MsgKeyUp:
      if (wParam <= 255) {
        (*window->keys)[wParam] = message == MsgKeyDown ? True32 : False32;
        return 0;
      }
      break;
    case MsgSysCommand:
      if (wParam == ScScreenSave || wParam == ScMonitorPower) return 0;
      break;
    case MsgToggleMode:
      program->wantFullScreen = program->wantFullScreen == True32 ? False32 : True32;
      platform.PostQuit(hWnd);
      break;
    default:
      break;
  }
  return platform.DefaultProcessing(asMessage);
}

int WinMain(Program& program, InstanceHandle instance) {
  KeyStates keys{};
  ProgramInfo info;
  info.hInstance = instance;
  info.className = "OpenGL";
  RenderWindow window;
  window.keys = &keys;
  window.setup.program = &info;
  window.setup.title = "Lumora_VC";
  window.setup.width = 1024;
  window.setup.height = 768;
  window.setup.bitsPerPixel = 16;
  window.setup.fullScreen = True32;
  keys.fill(False32);

  Program* previous = currentProgram;
  currentProgram = &program;
  if (!RegisterRenderClass(program, info)) {
    currentProgram = previous;
    return -1;
  }
  program.keepRunning = True32;
  program.wantFullScreen = window.setup.fullScreen;

  while (program.keepRunning == True32) {
    window.setup.fullScreen = program.wantFullScreen;
    if (!OpenRenderWindow(program, window)) {
      program.keepRunning = False32;
      continue;
    }
    if (!program.scene->Init(window, keys)) {
      RequestQuit(window);
    } else {
      RunMessageLoop(program, window);
    }
    program.scene->Release();
    CloseRenderWindow(program, window);
  }

  program.platform->UnregisterWindowClass(info.hInstance, info.className);
  currentProgram = previous;
  return 0;
}

}  // namespace renderer
