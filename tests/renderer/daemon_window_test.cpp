// The renderer inside a window another program owns, as an idle daemon
// (xscreensaver) hands one to its hacks through $XSCREENSAVER_WINDOW: drawn
// at that window's size, nothing of the desktop changed, ended by SIGTERM or
// by the window's end.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "tests/support/child_process.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// Share of the image's pixels that are clearly blue, as the scene's sky is.
double BlueShare(const xclient::Image& image) {
  size_t blue = 0;
  for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) blue += image.rgb[i + 2] > 150 && image.rgb[i] < 120;
  return image.rgb.empty() ? 0 : static_cast<double>(blue) / (image.rgb.size() / 3);
}

class DaemonWindow : public testing::Test {
 protected:
  void SetUp() override {
    // A screen larger than the renderer's own mode, which it could switch
    // to: it must not.
    xvfb = std::make_unique<testsupport::XvfbServer>("1280x1024x24");
    ASSERT_TRUE(xvfb->Running());
    display = xclient::OpenDisplay();
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(std::system("xrandr --newmode tovarel1024 60 1024 1048 1184 1344 768 771 777 806 >/dev/null 2>&1 && "
                          "xrandr --addmode screen tovarel1024 >/dev/null 2>&1"),
              0);
    // The daemon's window: black, 640 x 400, not at the origin.
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 50, 640, 400, 0, 0,
                                 BlackPixel(display, DefaultScreen(display)));
    XMapWindow(display, window);
    XSync(display, False);
  }
  void TearDown() override {
    renderer.reset();
    xclient::CloseDisplay(display);
  }
  void StartRenderer(const std::string& windowId) {
    setenv("XSCREENSAVER_WINDOW", windowId.c_str(), 1);
    renderer = std::make_unique<testsupport::ChildProcess>();
    ASSERT_TRUE(renderer->Start(TOVAREL_RENDERER));
    unsetenv("XSCREENSAVER_WINDOW");
  }
  std::string Id() const {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
  }
  bool SceneShows() {
    return WaitFor(
        [&] {
          const auto image = xclient::Capture(display, window);
          return image && BlueShare(*image) > 0.5;
        },
        30s);
  }

  std::unique_ptr<testsupport::XvfbServer> xvfb;
  Display* display = nullptr;
  Window window = 0;
  std::unique_ptr<testsupport::ChildProcess> renderer;
};

TEST_F(DaemonWindow, DrawsInsideItAndChangesNothingOfTheDesktop) {
  xclient::SetScreenSaverTimeout(display, 1);
  StartRenderer(Id());
  ASSERT_TRUE(SceneShows()) << "no scene in the daemon's window";
  EXPECT_FALSE(xclient::FindWindowByTitle(display, "Lumora_VC")) << "a window of its own";
  const auto screen = xclient::ScreenSize(display);
  ASSERT_TRUE(screen);
  EXPECT_EQ(screen->width, 1280) << "the display mode was switched";
  // The X screen saver is the daemon's: it still comes on while we draw.
  EXPECT_TRUE(WaitFor([&] { return xclient::ScreenSaverShowing(display); }, 5s))
      << "the renderer held the screen saver off";
  EXPECT_TRUE(renderer->Running());
}

// Grown, the window is drawn to its new corners: the viewport follows it.
TEST_F(DaemonWindow, FollowsTheWindowsSize) {
  StartRenderer(Id());
  ASSERT_TRUE(SceneShows());
  XResizeWindow(display, window, 1000, 700);
  XSync(display, False);
  const bool filled = WaitFor(
      [&] {
        const auto image = xclient::Capture(display, window);
        if (!image || image->width != 1000) return false;
        xclient::Image topRight{360, 300, {}};
        for (int y = 0; y < 300; ++y) {
          const auto row = image->rgb.begin() + (static_cast<long>(y) * 1000 + 640) * 3;
          topRight.rgb.insert(topRight.rgb.end(), row, row + 360 * 3);
        }
        return BlueShare(topRight) > 0.5;
      },
      10s);
  EXPECT_TRUE(filled) << "the part beyond the first size stays undrawn";
  EXPECT_TRUE(renderer->Running());
}

TEST_F(DaemonWindow, SigtermEndsItWithinASecondAndLeavesTheWindow) {
  StartRenderer(Id());
  ASSERT_TRUE(SceneShows());
  const auto sent = Clock::now();
  ASSERT_TRUE(renderer->Signal(SIGTERM));
  EXPECT_EQ(renderer->Wait(5), 0);
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - sent).count(), 1.0);
  XWindowAttributes attributes;
  EXPECT_NE(XGetWindowAttributes(display, window, &attributes), 0) << "the daemon's window is not ours to destroy";
}

TEST_F(DaemonWindow, TheWindowsEndEndsTheRenderer) {
  StartRenderer(Id());
  ASSERT_TRUE(SceneShows());
  XDestroyWindow(display, window);
  XSync(display, False);
  EXPECT_EQ(renderer->Wait(5), 0);
}

TEST_F(DaemonWindow, NoSuchWindowIsRefusedAtOnce) {
  for (const char* id : {"0x1fffff00", "not-a-window"}) {
    StartRenderer(id);
    EXPECT_EQ(renderer->Wait(10), 255) << id;
    EXPECT_FALSE(xclient::FindWindowByTitle(display, "Lumora_VC")) << id;
  }
}

}  // namespace
