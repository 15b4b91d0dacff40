// How runs end and refuse each other, from outside on a private Xvfb whose
// screen is 1280 x 1024 and also offers the renderer's 1024 x 768: a killed
// renderer, copies started at the same moment, a dialog destroyed by
// another client, a preview asked to draw on the whole desktop.
// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "tests/support/wait_for.h"
#include "tests/support/child_process.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/x11/settings_bytes.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testsupport::ChildProcess;

using testsupport::WaitFor;

class RunEnding : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    xvfb_ = new testsupport::XvfbServer("1280x1024x24");
    // A monitor that also offers 1024 x 768, so the renderer's switch happens.
    modeAdded_ = xvfb_->Running() &&
                 std::system("xrandr --newmode tovarel1024 60 1024 1048 1184 1344 768 771 777 806 >/dev/null 2>&1 && "
                             "xrandr --addmode screen tovarel1024 >/dev/null 2>&1") == 0;
  }
  static void TearDownTestSuite() { delete xvfb_; }

  void SetUp() override {
    ASSERT_TRUE(xvfb_->Running());
    ASSERT_TRUE(modeAdded_);
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    fs::copy_file(TOVAREL_SCR_PATH, folder_.File("Tovarel.scr"));
    fs::copy_file(TOVAREL_DLL_PATH, folder_.File("Tovarel.dll"));
    fs::create_directory(folder_.File("music"));
    fs::copy_file(TOVAREL_MUSIC_MODULE_PATH, folder_.File("music/tovarel-music.so"));
    testsupport::WriteBytes(folder_.File("Tovarel.ini"), testsupport::SettingsBytes(0, 0, ""));
  }
  void TearDown() override {
    for (auto& host : hosts_) {
      if (host->Running()) host->Signal(SIGKILL);
      host->Wait(5);
    }
    while (auto window = xclient::FindWindowByTitle(display_, "Lumora_VC")) {
      xclient::SendDeleteWindow(display_, *window);
      if (!WaitFor([&] { return Windows("Lumora_VC") == 0; }, 5)) break;
    }
    // A case that failed may have left the switch behind.
    EXPECT_EQ(std::system("xrandr -s 1280x1024 >/dev/null 2>&1"), 0);
    if (display_) XCloseDisplay(display_);
  }

  ChildProcess& Start(const std::vector<std::string>& args) {
    hosts_.push_back(std::make_unique<ChildProcess>());
    EXPECT_TRUE(hosts_.back()->Start(folder_.File("Tovarel.scr"), args));
    return *hosts_.back();
  }
  int Windows(const std::string& title) {
    // Counted on the whole tree: two copies may each have one.
    int count = 0;
    std::vector<Window> pending{DefaultRootWindow(display_)};
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    while (!pending.empty()) {
      const Window w = pending.back();
      pending.pop_back();
      char* name = nullptr;
      bool match = XFetchName(display_, w, &name) && name != nullptr && title == name;
      if (name != nullptr) XFree(name);
      if (!match) {
        Atom type;
        int format;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, w, netName, 0, 64, False, AnyPropertyType, &type, &format, &n, &after,
                               &data) == Success && data != nullptr) {
          match = title == std::string(reinterpret_cast<char*>(data), n);
          XFree(data);
        }
      }
      count += match;
      Window root, parent, *children = nullptr;
      unsigned int childCount = 0;
      if (XQueryTree(display_, w, &root, &parent, &children, &childCount)) {
        pending.insert(pending.end(), children, children + childCount);
        if (children != nullptr) XFree(children);
      }
    }
    return count;
  }
  bool MappedRenderer() {
    auto window = xclient::FindWindowByTitle(display_, "Lumora_VC");
    return window && xclient::IsMapped(display_, *window);
  }
  std::pair<int, int> Screen() {
    auto size = xclient::ScreenSize(display_);
    return size ? std::pair{size->width, size->height} : std::pair{0, 0};
  }
  std::optional<pid_t> PidOf(Window window) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) != Success || count != 1)
      return std::nullopt;
    const pid_t pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    XFree(data);
    return pid;
  }

  static testsupport::XvfbServer* xvfb_;
  static bool modeAdded_;
  testsupport::TempDir folder_;
  Display* display_ = nullptr;
  std::vector<std::unique_ptr<ChildProcess>> hosts_;
};

testsupport::XvfbServer* RunEnding::xvfb_ = nullptr;
bool RunEnding::modeAdded_ = false;

// Killing the renderer has the effect of Escape, the desktop's mode too:
// it is back before the host has gone, and the host has reaped it.
TEST_F(RunEnding, AKilledRendererLeavesTheDesktopAsItWas) {
  ChildProcess& host = Start({"/s"});
  ASSERT_TRUE(WaitFor([&] { return MappedRenderer(); }, 30));
  EXPECT_EQ(Screen(), (std::pair{1024, 768}));
  const auto window = xclient::FindWindowByTitle(display_, "Lumora_VC");
  ASSERT_TRUE(window);
  const std::optional<pid_t> renderer = PidOf(*window);
  ASSERT_TRUE(renderer);
  ASSERT_EQ(kill(*renderer, SIGKILL), 0);
  EXPECT_EQ(host.Wait(10), 0);
  EXPECT_EQ(Screen(), (std::pair{1280, 1024}));
  // Reaped by its parent, not left to init as a zombie.
  EXPECT_FALSE(fs::exists("/proc/" + std::to_string(*renderer)));
}

// Copies started at the same moment: one runs, the other ends as a copy
// that finds the run's window does.
TEST_F(RunEnding, TwoRunsStartedTogetherGiveOneRenderer) {
  for (int round = 0; round < 20; ++round) {
    ChildProcess& first = Start({"/s"});
    ChildProcess& second = Start({"/s"});
    ASSERT_TRUE(WaitFor([&] { return MappedRenderer(); }, 30)) << round;
    ASSERT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }, 10)) << round;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Windows("Lumora_VC"), 1) << round;
    EXPECT_NE(first.Running(), second.Running()) << round;
    // Closed as a window manager would: a key may beat the focus on a busy machine.
    while (auto window = xclient::FindWindowByTitle(display_, "Lumora_VC")) {
      xclient::SendDeleteWindow(display_, *window);
      if (!WaitFor([&] { return !xclient::FindWindowByTitle(display_, "Lumora_VC"); }, 10)) break;
    }
    EXPECT_EQ(first.Wait(10), 0) << round;
    EXPECT_EQ(second.Wait(10), 0) << round;
    EXPECT_EQ(Screen(), (std::pair{1280, 1024})) << round;
  }
}

TEST_F(RunEnding, TwoDialogsStartedTogetherGiveOneDialog) {
  for (int round = 0; round < 5; ++round) {
    ChildProcess& first = Start({"/c"});
    ChildProcess& second = Start({"/c"});
    ASSERT_TRUE(WaitFor([&] { return Windows("<Tovarel>") > 0; }, 30)) << round;
    ASSERT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }, 10)) << round;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Windows("<Tovarel>"), 1) << round;
    first.Signal(SIGTERM);
    second.Signal(SIGTERM);
    first.Wait(10);
    second.Wait(10);
  }
}

// The root window (or one as large as the screen) is no preview window: the
// program ends quietly instead of covering the desktop.
TEST_F(RunEnding, APreviewOfTheWholeDesktopIsRefused) {
  const unsigned long root = DefaultRootWindow(display_);
  for (const std::string& handle : {std::to_string(root), std::to_string(root) + ".3"}) {
    ChildProcess& preview = Start({"/p", handle});
    EXPECT_EQ(preview.Wait(10), 0) << handle;
    EXPECT_EQ(Windows("Preview Window"), 0) << handle;
  }
}

}  // namespace
