// Tovarel.dll under Wine, seen and driven from other processes the way the
// saver program and the user meet it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/renderer/wine/renderer_wine.h"
#include "tests/wine/x_input.h"

namespace renderer_wine {
namespace {

// The desktop's own mode on the test display.
constexpr const char* DesktopMode = "1024,768,32";

class RendererWindow : public RendererWineTest {};

TEST_F(RendererWindow, OpensFullScreenPopupAndEndsWithCodeZeroOnClose) {
  auto renderer = StartRenderer();
  const auto window = WaitForWindow();
  ASSERT_TRUE(window) << "no window titled Lumora_VC";
  EXPECT_EQ(Field(*window, "class"), "OpenGL");
  EXPECT_EQ(Field(*window, "popup"), "1");
  EXPECT_EQ(Field(*window, "caption"), "0");
  EXPECT_EQ(Field(*window, "topmost"), "1");
  EXPECT_EQ(Field(*window, "rect"), "0,0,1024,768");
  // The popup itself says the switch was granted (a refusal gives a
  // captioned window); Wine keeps the desktop's depth for other processes.
  EXPECT_EQ(DisplayMode().substr(0, 9), "1024,768,");

  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
  EXPECT_TRUE(WaitUntilGone());
  EXPECT_EQ(DisplayMode(), DesktopMode);
}

TEST_F(RendererWindow, EscapeFromTheKeyboardEndsWithCodeZero) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow());
  ASSERT_TRUE(wine_harness::WaitForFocus(session_->DisplayName(), "Lumora_VC", WindowWaitMs));
  // Held across several frames: the scene reads the key table once a frame.
  ASSERT_TRUE(wine_harness::HoldKey(session_->DisplayName(), "Escape", 250));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
  EXPECT_EQ(DisplayMode(), DesktopMode);
}

TEST_F(RendererWindow, OtherKeysDoNotEndIt) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow());
  ASSERT_TRUE(wine_harness::WaitForFocus(session_->DisplayName(), "Lumora_VC", WindowWaitMs));
  for (const char* key : {"space", "Return", "a", "F4"}) ASSERT_TRUE(wine_harness::HoldKey(session_->DisplayName(), key, 100));
  // Messages are served in order: once the toggle has been served, the keys
  // before it were too, and the renderer is still there to serve it.
  ASSERT_TRUE(Post(WmToggleMode));
  EXPECT_TRUE(WaitForWindow({"caption=1"}));
  EXPECT_TRUE(renderer.Running());
  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
}

TEST_F(RendererWindow, ToggleMessageGoesWindowedWithCaptionAndBack) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow({"popup=1"}));

  ASSERT_TRUE(Post(WmToggleMode));
  const auto windowed = WaitForWindow({"caption=1"});
  ASSERT_TRUE(windowed) << "no captioned window after message 1025";
  EXPECT_EQ(Field(*windowed, "class"), "OpenGL");
  EXPECT_EQ(Field(*windowed, "popup"), "0");
  EXPECT_EQ(Field(*windowed, "topmost"), "0");
  // Windowed from the start: the frame goes around the configured client
  // width, placed at the origin. On a screen only 1024 x 768 large the
  // system caps the frame's height at the screen's (as Windows does), so
  // the client height is checked on the larger screen below.
  EXPECT_EQ(Field(*windowed, "client").substr(0, 5), "1024,");
  EXPECT_EQ(Field(*windowed, "rect").substr(0, 4), "0,0,");
  EXPECT_EQ(DisplayMode(), DesktopMode);

  ASSERT_TRUE(Post(WmToggleMode));
  const auto fullScreen = WaitForWindow({"popup=1"});
  ASSERT_TRUE(fullScreen) << "no popup window after the second message 1025";
  EXPECT_EQ(Field(*fullScreen, "rect"), "0,0,1024,768");
  EXPECT_EQ(Field(*fullScreen, "topmost"), "1");

  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
  EXPECT_EQ(DisplayMode(), DesktopMode);
}

TEST_F(RendererWindow, ScreenSaverCommandsAreSwallowedWhileCloseStillCloses) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow({"popup=1"}));
  ASSERT_TRUE(Post(WmSysCommand, ScScreenSave));
  ASSERT_TRUE(Post(WmSysCommand, ScMonitorPower, 2));
  // Served after the two commands: the renderer lives on through them.
  ASSERT_TRUE(Post(WmToggleMode));
  ASSERT_TRUE(WaitForWindow({"caption=1"}));
  EXPECT_TRUE(renderer.Running());

  // The system menu's Close goes through default processing to WM_CLOSE.
  ASSERT_TRUE(Post(WmSysCommand, ScClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
  EXPECT_TRUE(WaitUntilGone());
}

// A screen larger than the renderer's mode: Wine refuses the switch.
class RendererLargeScreen : public RendererWineTest {
 protected:
  wine_harness::ScreenSize Screen() const override { return {1280, 1024}; }
};

TEST_F(RendererLargeScreen, RefusedSwitchFallsBackToAnOuter1024x768WindowAtTheOrigin) {
  auto renderer = StartRenderer();
  const auto window = WaitForWindow();
  ASSERT_TRUE(window);
  EXPECT_EQ(Field(*window, "class"), "OpenGL");
  EXPECT_EQ(Field(*window, "caption"), "1");
  EXPECT_EQ(Field(*window, "topmost"), "0");
  // The rectangle is not adjusted after a refusal: the outer size is the
  // configured one, and the client area smaller.
  EXPECT_EQ(Field(*window, "rect"), "0,0,1024,768");
  EXPECT_NE(Field(*window, "client"), "1024,768");
  EXPECT_EQ(DisplayMode(), "1280,1024,32");

  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
  EXPECT_EQ(DisplayMode(), "1280,1024,32");
}

TEST_F(RendererLargeScreen, ToggleAfterARefusalStaysWindowedThenTriesFullScreenAgain) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow({"caption=1", "rect=0,0,1024,768"}));

  // The refusal left the wish for full screen standing, so the flip asks
  // for a window, this time sized by its client area.
  ASSERT_TRUE(Post(WmToggleMode));
  const auto windowed = WaitForWindow({"client=1024,768"});
  ASSERT_TRUE(windowed);
  EXPECT_EQ(Field(*windowed, "caption"), "1");

  // The next flip tries full screen once more, is refused again, and falls
  // back to the unadjusted window.
  ASSERT_TRUE(Post(WmToggleMode));
  const auto again = WaitForWindow({"rect=0,0,1024,768"});
  ASSERT_TRUE(again);
  EXPECT_EQ(Field(*again, "caption"), "1");
  EXPECT_NE(Field(*again, "client"), "1024,768");

  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
}

TEST_F(RendererLargeScreen, MinimisedWindowWaitsAndStillServesRestoreAndClose) {
  auto renderer = StartRenderer();
  ASSERT_TRUE(WaitForWindow({"caption=1"}));

  ASSERT_TRUE(Post(WmSysCommand, ScMinimize));
  ASSERT_TRUE(WaitForWindow({"iconic=1"}));
  ASSERT_TRUE(Post(WmSysCommand, ScRestore));
  ASSERT_TRUE(WaitForWindow({"iconic=0"}));
  // Drawing resumes: the picture changes as the sprites move.
  const auto first = CaptureWindow();
  ASSERT_TRUE(first);
  bool moved = false;
  for (int look = 0; look < 100 && !moved; ++look) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto later = CaptureWindow();
    moved = later && later->rgb != first->rgb;
  }
  EXPECT_TRUE(moved) << "no new frame after the window was restored";

  // Minimised, the loop blocks in its wait; a close request still wakes it.
  ASSERT_TRUE(Post(WmSysCommand, ScMinimize));
  ASSERT_TRUE(WaitForWindow({"iconic=1"}));
  ASSERT_TRUE(Post(WmClose));
  EXPECT_EQ(renderer.Wait(RendererExitWaitMs), 0);
}

}  // namespace
}  // namespace renderer_wine
