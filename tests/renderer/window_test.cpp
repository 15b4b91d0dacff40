#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/renderer/recording_platform.h"
#include "renderer/scene.h"
#include "renderer/window.h"

namespace renderer {
namespace {

using testing::RecordingPlatform;

std::vector<std::string>* projectionLog = nullptr;

void RecordProjection(std::int32_t w, std::int32_t h) {
  if (projectionLog) projectionLog->push_back("SetProjection " + std::to_string(w) + "x" + std::to_string(h));
}

class FakeScene : public SceneOps {
 public:
  explicit FakeScene(RecordingPlatform& platform) : platform_(platform) {}
  std::function<void(int frame)> onDraw;   // runs after each Draw
  std::function<void(int frame)> onStep;   // runs in each Step
  int inits = 0, draws = 0;
  RenderWindow* window = nullptr;
  KeyStates* keys = nullptr;
  bool initResult = true;

  bool Init(RenderWindow& w, KeyStates& k) override {
    platform_.calls.push_back("SceneInit");
    ++inits;
    window = &w;
    keys = &k;
    return initResult;
  }
  void Step(std::uint32_t) override {
    platform_.calls.push_back("SceneStep");
    if (onStep) onStep(draws + 1);
  }
  void Draw() override {
    platform_.calls.push_back("SceneDraw");
    ++draws;
    if (onDraw) onDraw(draws);
  }
  void Release() override { platform_.calls.push_back("SceneRelease"); }

 private:
  RecordingPlatform& platform_;
};

class WindowLogic : public ::testing::Test {
 protected:
  WindowLogic() : scene(platform) {
    program.platform = &platform;
    program.scene = &scene;
    program.setProjection = RecordProjection;
    projectionLog = &platform.calls;
  }
  ~WindowLogic() override { projectionLog = nullptr; }

  // Closes the window from outside after the given frame.
  void CloseAfter(int frame) {
    scene.onDraw = [this, frame](int n) {
      if (n == frame) platform.Push(MsgClose);
    };
  }
  int Run() { return WinMain(program, nullptr); }
  std::vector<std::string> Between(const std::string& first, const std::string& last) const {
    auto& c = platform.calls;
    auto b = std::find(c.begin(), c.end(), first);
    auto e = std::find(b, c.end(), last);
    return e == c.end() ? std::vector<std::string>{} : std::vector<std::string>(b, e + 1);
  }

  RecordingPlatform platform;
  FakeScene scene;
  Program program;
};

TEST_F(WindowLogic, FullScreenOpenAndCloseInOrder) {
  CloseAfter(2);
  EXPECT_EQ(Run(), 0);
  const std::vector<std::string> opening = {
      "RegisterWindowClass OpenGL",
      "ChangeDisplayMode 1024x768x16",
      "ShowCursor 0",
      "NewWindow OpenGL Lumora_VC popup topmost 0,0 1024x768",
      "GetDC",
      "ChoosePixelFormat",
      "SetPixelFormat 7",
      "CreateGlContext",
      "MakeCurrent",
      "ShowWindow",
      "SetProjection 1024x768",
      "SceneInit",
  };
  ASSERT_GE(platform.calls.size(), opening.size());
  EXPECT_EQ(std::vector<std::string>(platform.calls.begin(), platform.calls.begin() + opening.size()), opening);
  EXPECT_TRUE(platform.lastRequest.doubleBuffer);
  EXPECT_EQ(platform.lastRequest.colorBits, 16);
  EXPECT_EQ(platform.lastRequest.depthBits, 16);

  const std::vector<std::string> closing = {
      "SceneRelease", "MakeCurrent null", "DeleteGlContext", "ReleaseDC", "DestroyWindow",
      "RestoreDisplayMode", "ShowCursor 1", "UnregisterWindowClass OpenGL",
  };
  EXPECT_EQ(Between("SceneRelease", "UnregisterWindowClass OpenGL"), closing);
  EXPECT_EQ(program.keepRunning, False32);
  // A close request is the program's own: default processing would destroy
  // the window before the loop has ended.
  EXPECT_EQ(platform.Count("DefaultProcessing 16"), 0);
  EXPECT_EQ(platform.Count("DestroyWindow"), 1);
}

TEST_F(WindowLogic, RefusedModeOpensWindowedWithoutAdjustingTheRectangle) {
  platform.modeRefused = true;
  CloseAfter(1);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.Count("AdjustWindowRect"), 0);
  EXPECT_EQ(platform.Count("ShowCursor 0"), 0);
  EXPECT_EQ(platform.Count("NewWindow OpenGL Lumora_VC overlapped app 0,0 1024x768"), 1);
  // The configured size decides the projection, though the client is smaller.
  EXPECT_EQ(platform.Count("SetProjection 1024x768"), 1);
  EXPECT_EQ(platform.Count("RestoreDisplayMode"), 0);
  EXPECT_EQ(platform.Count("ShowCursor 1"), 0);
  EXPECT_EQ(program.wantFullScreen, True32);
}

struct FailingStep {
  const char* step;
  std::vector<std::string> releasedAfter;  // calls from the failing step on
};

TEST_F(WindowLogic, EachFailingStepReleasesWhatCameBeforeInReverse) {
  const FailingStep table[] = {
      {"NewWindow", {"RestoreDisplayMode", "ShowCursor 1"}},
      {"GetDC", {"DestroyWindow", "RestoreDisplayMode", "ShowCursor 1"}},
      {"ChoosePixelFormat", {"ReleaseDC", "DestroyWindow", "RestoreDisplayMode", "ShowCursor 1"}},
      {"SetPixelFormat", {"ReleaseDC", "DestroyWindow", "RestoreDisplayMode", "ShowCursor 1"}},
      {"CreateGlContext", {"ReleaseDC", "DestroyWindow", "RestoreDisplayMode", "ShowCursor 1"}},
      {"MakeCurrent", {"DeleteGlContext", "ReleaseDC", "DestroyWindow", "RestoreDisplayMode", "ShowCursor 1"}},
  };
  for (const FailingStep& row : table) {
    for (bool fullScreen : {true, false}) {
      RecordingPlatform p;
      p.failAt = row.step;
      p.modeRefused = !fullScreen;
      FakeScene s(p);
      Program prog;
      prog.platform = &p;
      prog.scene = &s;
      prog.setProjection = RecordProjection;
      projectionLog = &p.calls;
      EXPECT_EQ(WinMain(prog, nullptr), 0) << row.step;
      EXPECT_EQ(s.inits, 0) << row.step;
      EXPECT_EQ(prog.keepRunning, False32) << row.step;
      auto failed = std::find_if(p.calls.begin(), p.calls.end(),
                                 [&](const std::string& c) { return c.rfind(row.step, 0) == 0; });
      ASSERT_NE(failed, p.calls.end()) << row.step;
      std::vector<std::string> after(failed + 1, p.calls.end());
      std::vector<std::string> expected;
      for (const auto& c : row.releasedAfter)
        if (fullScreen || (c != "RestoreDisplayMode" && c != "ShowCursor 1")) expected.push_back(c);
      expected.push_back("UnregisterWindowClass OpenGL");
      EXPECT_EQ(after, expected) << row.step << (fullScreen ? " full screen" : " windowed");
    }
  }
  projectionLog = &platform.calls;
}

TEST_F(WindowLogic, FailedOpeningNullsTheHandles) {
  platform.failAt = "MakeCurrent";
  RenderWindow window;
  KeyStates keys{};
  ProgramInfo info;
  window.keys = &keys;
  window.setup.program = &info;
  EXPECT_FALSE(OpenRenderWindow(program, window));
  EXPECT_EQ(window.hWnd, nullptr);
  EXPECT_EQ(window.hDC, nullptr);
  EXPECT_EQ(window.hRC, nullptr);
}

TEST_F(WindowLogic, ClassRefusedExitsWithMinusOneAndNothingElse) {
  platform.failAt = "RegisterWindowClass";
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(platform.calls, std::vector<std::string>{"RegisterWindowClass OpenGL"});
}

TEST_F(WindowLogic, ToggleReopensInTheOtherModeWithAFreshScene) {
  scene.onDraw = [this](int n) {
    if (n == 2 || n == 4) platform.Push(MsgToggleMode);
    if (n == 6) platform.Push(MsgClose);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(scene.inits, 3);
  std::vector<std::string> windows;
  for (const auto& c : platform.calls)
    if (c.rfind("NewWindow", 0) == 0 || c == "AdjustWindowRect" || c.rfind("ChangeDisplayMode", 0) == 0 ||
        c == "RestoreDisplayMode")
      windows.push_back(c);
  const std::vector<std::string> expected = {
      "ChangeDisplayMode 1024x768x16",
      "NewWindow OpenGL Lumora_VC popup topmost 0,0 1024x768",
      "RestoreDisplayMode",
      // windowed from the start: the client area is made exactly 1024 x 768
      "AdjustWindowRect",
      "NewWindow OpenGL Lumora_VC overlapped app 0,0 1032x802",
      "ChangeDisplayMode 1024x768x16",
      "NewWindow OpenGL Lumora_VC popup topmost 0,0 1024x768",
      "RestoreDisplayMode",
  };
  EXPECT_EQ(windows, expected);
  EXPECT_EQ(program.wantFullScreen, True32);
}

TEST_F(WindowLogic, ToggleAfterARefusedModeStaysWindowedThenTriesAgain) {
  platform.modeRefused = true;
  scene.onDraw = [this](int n) {
    if (n == 1 || n == 2) platform.Push(MsgToggleMode);
    if (n == 3) platform.Push(MsgClose);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.Count("ChangeDisplayMode 1024x768x16"), 2);
  EXPECT_EQ(platform.Count("AdjustWindowRect"), 1);
  EXPECT_EQ(platform.Count("NewWindow OpenGL Lumora_VC overlapped app 0,0 1024x768"), 2);
}

TEST_F(WindowLogic, ToggleComparesWithExactlyOne) {
  scene.onDraw = [this](int n) {
    if (n == 1) {
      program.wantFullScreen = 2;  // not TRUE as the window logic counts it
      RendererWndProc(platform.CurrentWindow(), MsgToggleMode, 0, 0);
      EXPECT_EQ(program.wantFullScreen, True32);
      RendererWndProc(platform.CurrentWindow(), MsgToggleMode, 0, 0);
      EXPECT_EQ(program.wantFullScreen, False32);
      platform.queue.clear();
      platform.Push(MsgClose);
    }
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.Count("DefaultProcessing 1025"), 2);
}

TEST_F(WindowLogic, AFrameThatAskedToQuitIsStillDrawnAndSwapped) {
  scene.onStep = [this](int frame) {
    if (frame == 3) RequestQuit(*scene.window);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(scene.draws, 3);
  EXPECT_EQ(platform.Count("SwapBuffers"), 3);
  const auto tail = Between("PostQuit", "SceneRelease");
  EXPECT_EQ(tail, (std::vector<std::string>{"PostQuit", "SceneDraw", "SwapBuffers", "Peek 18", "SceneRelease"}));
}

TEST_F(WindowLogic, OnePendingMessagePerTurnAllBeforeTheNextFrame) {
  Bool32 a = -1, b = -1;
  scene.onDraw = [&](int n) {
    if (n == 1) {
      platform.Push(MsgKeyDown, 'A');
      platform.Push(MsgKeyUp, 'A');
      platform.Push(MsgKeyDown, 'B');
    }
    if (n == 2) {
      a = (*scene.keys)['A'];  // the table lives only while WinMain runs
      b = (*scene.keys)['B'];
      platform.Push(MsgClose);
    }
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Between("Peek 256", "SceneDraw"),
            (std::vector<std::string>{"Peek 256", "Peek 257", "Peek 256", "SceneStep", "SceneDraw"}));
  EXPECT_EQ(a, False32);
  EXPECT_EQ(b, True32);
}

TEST_F(WindowLogic, MinimisedWindowWaitsAndRestoringResumesWithItsSize) {
  scene.onDraw = [this](int n) {
    if (n == 1) platform.Push(MsgSize, SizeMinimized, 0);
    if (n == 2) platform.Push(MsgClose);
  };
  platform.onWait = [this] { platform.Push(MsgSize, SizeRestored, (600 << 16) | 800); };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.Count("WaitMessage"), 1);
  EXPECT_EQ(Between("Peek 5", "SceneDraw"),
            (std::vector<std::string>{"Peek 5", "WaitMessage", "Peek 5", "SetProjection 800x600", "SceneStep",
                                      "SceneDraw"}));
}

TEST_F(WindowLogic, MessageTable) {
  scene.onDraw = [this](int n) {
    if (n != 1) return;
    WindowHandle w = platform.CurrentWindow();
    KeyStates& keys = *scene.keys;
    EXPECT_EQ(RendererWndProc(w, MsgKeyDown, 65, 0), 0);
    EXPECT_EQ(keys[65], True32);
    EXPECT_EQ(RendererWndProc(w, MsgKeyUp, 65, 0), 0);
    EXPECT_EQ(keys[65], False32);
    const KeyStates before = keys;
    RendererWndProc(w, MsgKeyDown, 300, 0);
    EXPECT_EQ(keys, before);
    EXPECT_EQ(platform.Count("DefaultProcessing 256"), 1);
    EXPECT_EQ(RendererWndProc(w, MsgSysCommand, ScScreenSave, 0), 0);
    EXPECT_EQ(RendererWndProc(w, MsgSysCommand, ScMonitorPower, 2), 0);
    EXPECT_EQ(platform.Count("DefaultProcessing 274"), 0);
    RendererWndProc(w, MsgSysCommand, 0xF060, 0);  // SC_CLOSE goes on as usual
    EXPECT_EQ(platform.Count("DefaultProcessing 274"), 1);
    RendererWndProc(w, MsgSize, 4, 0);  // SIZE_MAXHIDE: not ours
    EXPECT_EQ(platform.Count("DefaultProcessing 5"), 1);
    EXPECT_EQ(scene.window->visible, True32);
    platform.Push(MsgClose);
  };
  EXPECT_EQ(Run(), 0);
}

TEST_F(WindowLogic, FailedSceneInitQuitsWithoutAFrame) {
  scene.initResult = false;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(scene.draws, 0);
  EXPECT_EQ(platform.Count("SceneRelease"), 1);
  EXPECT_EQ(platform.Count("DestroyWindow"), 1);
}

// The real scene on the recording platform (GL calls without a context do
// nothing): Escape ends the program after the frame that saw it.
class WindowWithFlyerScene : public ::testing::Test {
 protected:
  WindowWithFlyerScene() : scene(platform) {
    program.platform = &platform;
    program.scene = &scene;
    program.setProjection = RecordProjection;
  }
  RecordingPlatform platform;
  FlyerScene scene;
  Program program;
};

TEST_F(WindowWithFlyerScene, EscapeEndsAfterTheFrameThatSawIt) {
  int frames = 0;
  platform.onSleep = [&](std::uint32_t) {
    if (++frames == 2) {
      platform.Push(MsgKeyDown, 'Q');
      platform.Push(MsgKeyDown, VkEscape);
    }
  };
  EXPECT_EQ(WinMain(program, nullptr), 0);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(platform.Count("SwapBuffers"), 3);
  EXPECT_EQ(platform.Count("Sleep 15"), 3);
  EXPECT_EQ(platform.Count("PostQuit"), 1);
  EXPECT_EQ(program.keepRunning, False32);
  // The three pictures are asked for in slot order.
  std::vector<std::string> loads;
  for (const auto& c : platform.calls)
    if (c.rfind("LoadBitmapResource", 0) == 0) loads.push_back(c);
  EXPECT_EQ(loads, (std::vector<std::string>{"LoadBitmapResource 127", "LoadBitmapResource 123",
                                             "LoadBitmapResource 124"}));
  // Three frames of motion, each one fixed step.
  EXPECT_FLOAT_EQ(scene.State().flyers[0].y, 18.0f - 3 * 0.0179f);
}

TEST_F(WindowWithFlyerScene, OtherKeysDoNotEndIt) {
  int frames = 0;
  platform.onSleep = [&](std::uint32_t) {
    ++frames;
    if (frames == 1) {
      platform.Push(MsgKeyDown, 'Q');
      platform.Push(MsgKeyDown, 0x20);
      platform.Push(MsgKeyDown, 0x10);
    }
    if (frames == 5) platform.Push(MsgClose);
  };
  EXPECT_EQ(WinMain(program, nullptr), 0);
  EXPECT_EQ(frames, 5);
}

}  // namespace
}  // namespace renderer
