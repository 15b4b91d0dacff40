// The renderer as another process sees it, on a real X server.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/child_process.h"
#include "tools/xclient/x11_client.h"
#include "tests/renderer/x11_desktop.h"
#include "tests/support/xvfb_server.h"

namespace {

using namespace std::chrono_literals;

// Sets or removes an environment variable for the programs started meanwhile.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Where a program lies on the PATH, as a shell would find it.
std::optional<std::string> FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

class RendererProcess : public ::testing::Test {
 protected:
  void Start(const std::string& screen = "1024x768x24", bool addMode = false) {
    StartServer(screen, addMode);
    StartRenderer();
  }
  void StartServer(const std::string& screen, bool addMode) {
    renderer.reset();
    windowManager.reset();
    xclient::CloseDisplay(display);
    display = nullptr;
    xvfb.reset();
    xvfb = std::make_unique<testsupport::XvfbServer>(screen);
    ASSERT_TRUE(xvfb->Running());
    display = xclient::OpenDisplay();
    ASSERT_NE(display, nullptr);
    if (addMode) {
      // A monitor that also offers 1024 x 768, so the switch can happen.
      ASSERT_EQ(std::system("xrandr --newmode tovarel1024 60 1024 1048 1184 1344 768 771 777 806 >/dev/null 2>&1 && "
                            "xrandr --addmode screen tovarel1024 >/dev/null 2>&1"),
                0);
    }
  }
  void StartRenderer() {
    renderer = std::make_unique<testsupport::ChildProcess>();
    ASSERT_TRUE(renderer->Start(TOVAREL_RENDERER));
    ASSERT_TRUE(WaitForWindow());
  }
  // A small real window manager on the private screen; its settings and
  // cache go to the server's runtime folder.
  void StartWindowManager() {
    const auto openbox = FindProgram("openbox");
    ASSERT_TRUE(openbox) << "openbox is not installed (tools/install-deps.sh installs it)";
    windowManager = std::make_unique<testsupport::ChildProcess>();
    ASSERT_TRUE(windowManager->Start("/bin/sh", {"-c", "XDG_CONFIG_HOME=$XDG_RUNTIME_DIR XDG_CACHE_HOME=$XDG_RUNTIME_DIR "
                                                       "exec \"$0\" --sm-disable >/dev/null 2>&1",
                                                 *openbox}));
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!testsupport::WindowManagerRunning(display) && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(testsupport::WindowManagerRunning(display));
  }
  void TearDown() override {
    renderer.reset();
    windowManager.reset();
    xclient::CloseDisplay(display);
  }

  // The mapped window titled "Lumora_VC", waiting for it to appear.
  bool WaitForWindow(std::optional<xclient::XWindow> notThis = std::nullopt) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
      const auto found = xclient::FindWindowByTitle(display, "Lumora_VC");
      if (found && found != notThis && xclient::IsMapped(display, *found)) {
        window = *found;
        return true;
      }
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }
  bool IsFullScreen() {
    const auto g = xclient::RootGeometryOf(display, window);
    return g && g->x == 0 && g->y == 0 && g->width == 1024 && g->height == 768 &&
           xclient::HasNetWmState(display, window, "_NET_WM_STATE_FULLSCREEN") &&
           !xclient::WantsDecorations(display, window);
  }
  std::optional<xclient::Geometry> Screen() { return xclient::ScreenSize(display); }

  std::unique_ptr<testsupport::XvfbServer> xvfb;
  Display* display = nullptr;  // opaque here: Xlib macros stay out of the tests
  std::unique_ptr<testsupport::ChildProcess> windowManager;
  std::unique_ptr<testsupport::ChildProcess> renderer;
  xclient::XWindow window = 0;
};

TEST_F(RendererProcess, OpensFullScreenWindowFoundByTitleAndClosesOnDeleteRequest) {
  Start();
  EXPECT_EQ(xclient::ClassOf(display, window), "OpenGL");
  EXPECT_TRUE(IsFullScreen());
  ASSERT_TRUE(xclient::SendDeleteWindow(display, window));
  EXPECT_EQ(renderer->Wait(10), 0);
  EXPECT_FALSE(xclient::FindWindowByTitle(display, "Lumora_VC"));
}

TEST_F(RendererProcess, EscapeFromTheKeyboardEndsIt) {
  Start();
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(xclient::TapKey(display, "Escape"));
  EXPECT_EQ(renderer->Wait(10), 0);
}

TEST_F(RendererProcess, MouseAndOtherKeysDoNotEndIt) {
  Start();
  for (int i = 0; i < 10; ++i) xclient::MovePointer(display, 100 + 50 * i, 80 + 30 * i);
  for (const char* key : {"a", "space", "Return", "Shift_L", "F1", "q"}) ASSERT_TRUE(xclient::TapKey(display, key));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(renderer->Running());
  xclient::SendDeleteWindow(display, window);
  EXPECT_EQ(renderer->Wait(10), 0);
}

TEST_F(RendererProcess, ToggleMessageSwitchesBetweenWindowedAndFullScreen) {
  Start();
  ASSERT_TRUE(IsFullScreen());
  const xclient::XWindow fullScreen = window;
  ASSERT_TRUE(xclient::SendClientMessage(display, window, "WM_TOGGLEMODE"));
  ASSERT_TRUE(WaitForWindow(fullScreen));
  EXPECT_TRUE(xclient::WantsDecorations(display, window)) << "windowed with a caption";
  EXPECT_FALSE(xclient::HasNetWmState(display, window, "_NET_WM_STATE_FULLSCREEN"));
  const auto g = xclient::RootGeometryOf(display, window);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->width, 1024);
  EXPECT_EQ(g->height, 768);

  const xclient::XWindow windowed = window;
  ASSERT_TRUE(xclient::SendClientMessage(display, window, "WM_TOGGLEMODE"));
  ASSERT_TRUE(WaitForWindow(windowed));
  EXPECT_TRUE(IsFullScreen());
  EXPECT_TRUE(renderer->Running());
  xclient::SendDeleteWindow(display, window);
  EXPECT_EQ(renderer->Wait(10), 0);
}

TEST_F(RendererProcess, SwitchesALargerScreenTo1024x768AndRestoresItOnSignals) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(sig);
    Start("1280x1024x24", true);
    const auto during = Screen();
    ASSERT_TRUE(during);
    EXPECT_EQ(during->width, 1024);
    EXPECT_EQ(during->height, 768);
    EXPECT_TRUE(IsFullScreen());
    ASSERT_TRUE(renderer->Signal(sig));
    EXPECT_EQ(renderer->Wait(10), 0);
    const auto after = Screen();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width, 1280);
    EXPECT_EQ(after->height, 1024);
    xclient::CloseDisplay(display);
    display = nullptr;
  }
}

TEST_F(RendererProcess, RefusedModeFallsBackToAWindowOf1024x768AtTheOrigin) {
  Start("1280x1024x24", false);
  const auto screen = Screen();
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->width, 1280);
  EXPECT_TRUE(xclient::WantsDecorations(display, window));
  const auto g = xclient::RootGeometryOf(display, window);
  ASSERT_TRUE(g);
  // No window manager draws a frame here, so outer and client size agree.
  EXPECT_EQ(g->x, 0);
  EXPECT_EQ(g->y, 0);
  EXPECT_EQ(g->width, 1024);
  EXPECT_EQ(g->height, 768);
  xclient::SendDeleteWindow(display, window);
  EXPECT_EQ(renderer->Wait(10), 0);
}

TEST_F(RendererProcess, KeepsTheXScreenSaverFromStarting) {
  Start();
  xclient::SetScreenSaverTimeout(display, 1);
  std::this_thread::sleep_for(2500ms);
  EXPECT_FALSE(xclient::ScreenSaverShowing(display));
  xclient::SendDeleteWindow(display, window);
  EXPECT_EQ(renderer->Wait(10), 0);
  // Without the renderer the same one-second timeout does start it.
  xclient::ResetScreenSaver(display);
  std::this_thread::sleep_for(2500ms);
  EXPECT_TRUE(xclient::ScreenSaverShowing(display));
}

// A window that another client destroyed is closed; a killed connection, a
// crash or a fatal signal ends the renderer at once. In every case the
// desktop's own mode comes back.
TEST_F(RendererProcess, DesktopModeComesBackWhateverEndsIt) {
  // A crash would leave a core file; none is wanted from a test.
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  enum class Act { KillConnection, DestroyWindow, Signal };
  const struct {
    const char* name;
    Act act;
    int sig;
    int exitCode;
  } cases[] = {
      {"connection killed, as by xkill -id", Act::KillConnection, 0, 1},
      {"window destroyed by another client: a close request", Act::DestroyWindow, 0, 0},
      {"SIGSEGV", Act::Signal, SIGSEGV, 128 + SIGSEGV},
      {"SIGABRT", Act::Signal, SIGABRT, 128 + SIGABRT},
      {"SIGBUS", Act::Signal, SIGBUS, 128 + SIGBUS},
      {"SIGQUIT", Act::Signal, SIGQUIT, 128 + SIGQUIT},
      {"SIGUSR1", Act::Signal, SIGUSR1, 128 + SIGUSR1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start("1280x1024x24", true);
    const auto during = Screen();
    ASSERT_TRUE(during);
    ASSERT_EQ(during->width, 1024);
    std::this_thread::sleep_for(200ms);  // well into the frame loop
    switch (c.act) {
      case Act::KillConnection:
        ASSERT_TRUE(testsupport::KillClientOf(display, window));
        break;
      case Act::DestroyWindow:
        ASSERT_TRUE(testsupport::DestroyWindowOf(display, window));
        break;
      case Act::Signal:
        ASSERT_TRUE(renderer->Signal(c.sig));
        break;
    }
    EXPECT_EQ(renderer->Wait(10), c.exitCode);
    const auto after = Screen();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width, 1280);
    EXPECT_EQ(after->height, 1024);
  }
}

// Two renderers started at the same moment, ended one after the other in
// either order: whichever switched, the desktop's own mode comes back, never
// the 1024 x 768 one of them found already switched.
TEST_F(RendererProcess, TwoRenderersAtOnceLeaveTheDesktopsOwnModeBehind) {
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    StartServer("1280x1024x24", true);
    testsupport::ChildProcess first, second;
    ASSERT_TRUE(first.Start(TOVAREL_RENDERER));
    ASSERT_TRUE(second.Start(TOVAREL_RENDERER));
    const auto end = std::chrono::steady_clock::now() + 20s;
    auto countWindows = [&] {
      int n = 0;
      for (const auto& top : testsupport::MappedTopLevels(display)) n += top.title == "Lumora_VC";
      return n;
    };
    while (countWindows() < 2 && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    ASSERT_EQ(countWindows(), 2);
    const auto during = Screen();
    ASSERT_TRUE(during);
    EXPECT_EQ(during->width, 1024);
    testsupport::ChildProcess& endsFirst = round % 2 ? first : second;
    testsupport::ChildProcess& endsLast = round % 2 ? second : first;
    ASSERT_TRUE(endsFirst.Signal(SIGTERM));
    EXPECT_EQ(endsFirst.Wait(10), 0);
    ASSERT_TRUE(endsLast.Signal(SIGTERM));
    EXPECT_EQ(endsLast.Wait(10), 0);
    const auto after = Screen();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width, 1280);
    EXPECT_EQ(after->height, 1024);
    xclient::CloseDisplay(display);
    display = nullptr;
  }
}

// Two monitors side by side: the run covers the other one in black, keeps
// the keyboard in the renderer even with the pointer over the cover, and
// the cover goes with the renderer.
TEST_F(RendererProcess, CoversTheOtherMonitorInBlackForTheRun) {
  StartServer("2048x768x24", false);
  ASSERT_TRUE(testsupport::SetMonitor(display, "LEFT", {0, 0, 1024, 768}, true, true));
  ASSERT_TRUE(testsupport::SetMonitor(display, "RIGHT", {1024, 0, 1024, 768}, false, false));
  StartRenderer();
  EXPECT_TRUE(IsFullScreen());
  auto covers = [&] {
    std::vector<testsupport::TopLevel> found;
    for (const auto& top : testsupport::MappedTopLevels(display))
      if (top.window != window) found.push_back(top);
    return found;
  };
  const auto during = covers();
  ASSERT_EQ(during.size(), 1u);
  const auto& cover = during.front();
  EXPECT_TRUE(cover.overrideRedirect);
  EXPECT_EQ(cover.geometry.x, 1024);
  EXPECT_EQ(cover.geometry.y, 0);
  EXPECT_EQ(cover.geometry.width, 1024);
  EXPECT_EQ(cover.geometry.height, 768);
  const auto image = xclient::CaptureArea(display, cover.window, 0, 0, 1024, 768);
  ASSERT_TRUE(image);
  EXPECT_TRUE(std::all_of(image->rgb.begin(), image->rgb.end(), [](std::uint8_t c) { return c == 0; }));

  xclient::MovePointer(display, 1500, 400);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(testsupport::FocusWindow(display), window);
  ASSERT_TRUE(xclient::TapKey(display, "Escape"));
  EXPECT_EQ(renderer->Wait(10), 0);
  EXPECT_TRUE(covers().empty());
}

// Under a window manager the refused switch gives a window whose outer
// size, frame included, is 1024 x 768 from the first frame on; a window
// asked for as windowed has a 1024 x 768 client area with the frame
// outside it.
TEST_F(RendererProcess, WindowManagersFrameIsInsideTheFallbackAndOutsideAWindowedWindow) {
  StartServer("1280x1024x24", false);
  StartWindowManager();
  StartRenderer();
  const auto outer = testsupport::OuterGeometryOf(display, window);
  const auto client = xclient::RootGeometryOf(display, window);
  ASSERT_TRUE(outer && client);
  EXPECT_EQ(outer->x, 0);
  EXPECT_EQ(outer->y, 0);
  EXPECT_EQ(outer->width, 1024);
  EXPECT_EQ(outer->height, 768);
  EXPECT_GT(client->y, 0) << "a framed window's client area lies below its caption";
  EXPECT_LT(client->height, 768);

  const xclient::XWindow fallback = window;
  ASSERT_TRUE(xclient::SendClientMessage(display, window, "WM_TOGGLEMODE"));
  ASSERT_TRUE(WaitForWindow(fallback));
  const auto windowedOuter = testsupport::OuterGeometryOf(display, window);
  const auto windowedClient = xclient::RootGeometryOf(display, window);
  ASSERT_TRUE(windowedOuter && windowedClient);
  EXPECT_EQ(windowedClient->width, 1024);
  EXPECT_EQ(windowedClient->height, 768);
  EXPECT_EQ(windowedOuter->x, 0);
  EXPECT_EQ(windowedOuter->y, 0);
  EXPECT_EQ(windowedOuter->height - windowedClient->height, outer->height - client->height)
      << "the same frame around both windows";
  ASSERT_TRUE(xclient::SendDeleteWindow(display, window));
  EXPECT_EQ(renderer->Wait(10), 0);
}

// A Wayland session: weston's headless output at 1920 x 1080 with Xwayland,
// in a runtime folder of its own. Xwayland shows the renderer's switch to
// it alone; the window manager makes the marked window the output's size.
class WaylandSession : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    const auto weston = FindProgram("weston");
    ASSERT_TRUE(weston) << "weston is not installed (tools/install-deps.sh installs it)";
    runtime_ = fs::temp_directory_path() / ("tovarel-weston-" + std::to_string(getpid()));
    fs::create_directories(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all);
    runtimeEnv_.emplace("XDG_RUNTIME_DIR", runtime_.c_str());
    const std::string log = (runtime_ / "weston.log").string();
    ASSERT_TRUE(weston_.Start(*weston, {"--backend=headless-backend.so", "--xwayland", "--width=1920",
                                         "--height=1080", "--socket=tovarel-wayland", "--idle-time=0",
                                         "--log=" + log}));
    // Weston names the X display it has Xwayland serve in its log.
    const auto end = std::chrono::steady_clock::now() + 30s;
    std::string display;
    while (display.empty() && std::chrono::steady_clock::now() < end) {
      std::ifstream in(log);
      std::string line;
      while (std::getline(in, line))
        if (const auto at = line.find("listening on display "); at != std::string::npos)
          display = line.substr(at + 21);
      std::this_thread::sleep_for(50ms);
    }
    ASSERT_FALSE(display.empty()) << "weston started no Xwayland";
    displayEnv_.emplace("DISPLAY", display.c_str());
    waylandEnv_.emplace("WAYLAND_DISPLAY", "tovarel-wayland");
    display_ = xclient::OpenDisplay();  // starts Xwayland
    ASSERT_NE(display_, nullptr);
  }
  void TearDown() override {
    xclient::CloseDisplay(display_);
    weston_.Signal(SIGTERM);
    weston_.Wait(10);
    std::filesystem::remove_all(runtime_);
  }
  std::optional<xclient::XWindow> WaitForWindow(std::optional<xclient::XWindow> notThis = std::nullopt) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < end) {
      const auto found = xclient::FindWindowByTitle(display_, "Lumora_VC");
      if (found && found != notThis && xclient::IsMapped(display_, *found)) return found;
      std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
  }
  // What a full-screen window shows once the window manager has sized it.
  bool ShowsFullScreen(xclient::XWindow window) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
      const auto g = xclient::RootGeometryOf(display_, window);
      if (g && g->x == 0 && g->y == 0 && g->width == 1920 && g->height == 1080) break;
      std::this_thread::sleep_for(20ms);
    }
    const auto g = xclient::RootGeometryOf(display_, window);
    return g && g->x == 0 && g->y == 0 && g->width == 1920 && g->height == 1080 &&
           xclient::HasNetWmState(display_, window, "_NET_WM_STATE_FULLSCREEN");
  }

  std::filesystem::path runtime_;
  std::optional<ScopedEnv> runtimeEnv_, displayEnv_, waylandEnv_;
  testsupport::ChildProcess weston_;
  Display* display_ = nullptr;
};

TEST_F(WaylandSession, TheSceneCoversTheOutputAndTheToggleAndTheEndWorkAsOnX11) {
  testsupport::ChildProcess renderer;
  ASSERT_TRUE(renderer.Start(TOVAREL_RENDERER));
  const auto fullScreen = WaitForWindow();
  ASSERT_TRUE(fullScreen);
  EXPECT_TRUE(ShowsFullScreen(*fullScreen));
  // The 4:3 view, as large as the output allows, centred (the renderer
  // fits it once it learns the window's new size).
  auto view = testsupport::ChildGeometryOf(display_, *fullScreen);
  for (int i = 0; i < 250 && view && view->width != 1440; ++i) {
    std::this_thread::sleep_for(20ms);
    view = testsupport::ChildGeometryOf(display_, *fullScreen);
  }
  ASSERT_TRUE(view);
  EXPECT_EQ(view->height, 1080);
  EXPECT_EQ(view->width, 1440);
  EXPECT_EQ(view->x, 240);
  EXPECT_EQ(view->y, 0);

  ASSERT_TRUE(xclient::SendClientMessage(display_, *fullScreen, "WM_TOGGLEMODE"));
  const auto windowed = WaitForWindow(fullScreen);
  ASSERT_TRUE(windowed);
  EXPECT_FALSE(xclient::HasNetWmState(display_, *windowed, "_NET_WM_STATE_FULLSCREEN"));
  const auto g = xclient::RootGeometryOf(display_, *windowed);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->width, 1024);
  EXPECT_EQ(g->height, 768);

  ASSERT_TRUE(xclient::SendClientMessage(display_, *windowed, "WM_TOGGLEMODE"));
  const auto again = WaitForWindow(windowed);
  ASSERT_TRUE(again);
  EXPECT_TRUE(ShowsFullScreen(*again));
  ASSERT_TRUE(xclient::SendDeleteWindow(display_, *again));
  EXPECT_EQ(renderer.Wait(10), 0);
  // Nothing of the output changed for anyone else.
  const auto screen = xclient::ScreenSize(display_);
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->width, 1920);
  EXPECT_EQ(screen->height, 1080);
}

// A Wayland compositor's socket, as a Wayland session offers one: it takes
// connections and never answers.
class SilentSocket {
 public:
  explicit SilentSocket(const std::string& path) {
    fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ok_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd_, 8) == 0;
  }
  ~SilentSocket() {
    if (fd_ >= 0) close(fd_);
  }
  bool Ok() const { return ok_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

// The renderer is an X11 program: with no X display it registers no window
// class and ends with -1 at once, instead of running unseen on anything
// else the session offers.
TEST(RendererWithoutX, FailsToRegisterItsClassAndEndsWithMinusOne) {
  namespace fs = std::filesystem;
  const fs::path runtime = fs::temp_directory_path() / ("tovarel-wayland-" + std::to_string(getpid()));
  fs::create_directories(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  SilentSocket compositor((runtime / "wayland-tovarel").string());
  ASSERT_TRUE(compositor.Ok());
  const struct {
    const char* name;
    const char* display;
    const char* wayland;
  } cases[] = {
      {"DISPLAY unset", nullptr, nullptr},
      {"a Wayland session without X", nullptr, "wayland-tovarel"},
      {"a display nobody serves", ":999", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnv display("DISPLAY", c.display);
    ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
    ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.c_str());
    testsupport::ChildProcess renderer;
    ASSERT_TRUE(renderer.Start(TOVAREL_RENDERER));
    EXPECT_EQ(renderer.Wait(10), 255);
  }
  fs::remove_all(runtime);
}

}  // namespace
