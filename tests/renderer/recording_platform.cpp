#include "tests/renderer/recording_platform.h"

#include <algorithm>

namespace renderer::testing {

int RecordingPlatform::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

bool RecordingPlatform::RegisterWindowClass(InstanceHandle, const char* className, WindowProc p) {
  calls.push_back(std::string("RegisterWindowClass ") + className);
  proc = p;
  return failAt != "RegisterWindowClass";
}

void RecordingPlatform::UnregisterWindowClass(InstanceHandle, const char* className) {
  calls.push_back(std::string("UnregisterWindowClass ") + className);
}

bool RecordingPlatform::ChangeDisplayMode(std::int32_t w, std::int32_t h, std::int32_t bpp) {
  calls.push_back("ChangeDisplayMode " + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bpp));
  return !modeRefused;
}

void RecordingPlatform::AdjustWindowRect(Rect& rect, std::uint32_t, std::uint32_t) {
  calls.push_back("AdjustWindowRect");
  rect.left -= 4;
  rect.top -= 30;
  rect.right += 4;
  rect.bottom += 4;
}

WindowHandle RecordingPlatform::NewWindow(std::uint32_t exStyle, const char* className, const char* title,
                                          std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t w,
                                          std::int32_t h, InstanceHandle, void* createParam) {
  const char* kind = style == StylePopup ? "popup" : style == StyleOverlappedWindow ? "overlapped" : "other";
  const char* layer = exStyle == (ExStyleAppWindow | ExStyleTopmost) ? "topmost"
                      : exStyle == ExStyleAppWindow                  ? "app"
                                                                     : "other";
  calls.push_back(std::string("NewWindow ") + className + " " + title + " " + kind + " " + layer + " " +
                  std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" + std::to_string(h));
  if (failAt == "NewWindow") return nullptr;
  ++windowsMade;
  userData = nullptr;
  if (proc) proc(CurrentWindow(), MsgCreate, 0, reinterpret_cast<std::intptr_t>(createParam));
  return CurrentWindow();
}

std::intptr_t RecordingPlatform::DefaultProcessing(const Message& m) {
  calls.push_back("DefaultProcessing " + std::to_string(m.message));
  return 0;
}

DeviceContext RecordingPlatform::GetDC(WindowHandle) {
  calls.push_back("GetDC");
  return failAt == "GetDC" ? nullptr : reinterpret_cast<DeviceContext>(Dc);
}

int RecordingPlatform::ChoosePixelFormat(DeviceContext, const PixelFormatRequest& request) {
  calls.push_back("ChoosePixelFormat");
  lastRequest = request;
  return failAt == "ChoosePixelFormat" ? 0 : 7;
}

bool RecordingPlatform::SetPixelFormat(DeviceContext, int format, const PixelFormatRequest&) {
  calls.push_back("SetPixelFormat " + std::to_string(format));
  return failAt != "SetPixelFormat";
}

GlContext RecordingPlatform::CreateGlContext(DeviceContext) {
  calls.push_back("CreateGlContext");
  return failAt == "CreateGlContext" ? nullptr : reinterpret_cast<GlContext>(Context);
}

bool RecordingPlatform::MakeCurrent(DeviceContext, GlContext context) {
  calls.push_back(context ? "MakeCurrent" : "MakeCurrent null");
  return !(context && failAt == "MakeCurrent");
}

bool RecordingPlatform::PeekWindowMessage(WindowHandle window, Message& message) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (it->hWnd == window) {
      message = *it;
      queue.erase(it);
      calls.push_back("Peek " + std::to_string(message.message));
      return true;
    }
  }
  return false;
}

void RecordingPlatform::DispatchWindowMessage(const Message& message) {
  if (proc) proc(message.hWnd, message.message, message.wParam, message.lParam);
}

void RecordingPlatform::WaitMessage() {
  calls.push_back("WaitMessage");
  if (onWait) onWait();
}

void RecordingPlatform::PostQuit(WindowHandle window) {
  calls.push_back("PostQuit");
  queue.push_back(Message{window, MsgQuit, 0, 0});
}

std::optional<Bitmap> RecordingPlatform::LoadBitmapResource(int id) {
  calls.push_back("LoadBitmapResource " + std::to_string(id));
  return std::nullopt;
}

}  // namespace renderer::testing
