#include "x11/window_lookup.h"

// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

#include "tests/support/xvfb_server.h"

namespace {

using x11::WindowWithTitleExists;

class WindowLookupTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.Running());
    display = XOpenDisplay(xvfb.Display().c_str());
    ASSERT_NE(display, nullptr);
    other = XOpenDisplay(xvfb.Display().c_str());  // the "other process"
    ASSERT_NE(other, nullptr);
  }
  void TearDown() override {
    if (other != nullptr) XCloseDisplay(other);
    if (display != nullptr) XCloseDisplay(display);
  }

  Window Make(Window parent) {
    Window window = XCreateSimpleWindow(other, parent, 0, 0, 10, 10, 0, 0, 0);
    XSync(other, False);
    return window;
  }
  Window Root() { return DefaultRootWindow(other); }
  void SetWmName(Window window, const std::string& name) {
    XChangeProperty(other, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.data()),
                    static_cast<int>(name.size()));
    XSync(other, False);
  }
  void SetNetWmName(Window window, const std::string& name) {
    XChangeProperty(other, window, XInternAtom(other, "_NET_WM_NAME", False),
                    XInternAtom(other, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.data()),
                    static_cast<int>(name.size()));
    XSync(other, False);
  }

  testsupport::XvfbServer xvfb;
  Display* display = nullptr;
  Display* other = nullptr;
};

// The whole title, its case not regarded, as FindWindowA compares.
TEST_F(WindowLookupTest, MatchesTheWholeTitleInAnyCase) {
  EXPECT_FALSE(WindowWithTitleExists(display, "Lumora_Main"));
  SetWmName(Make(Root()), "lumora_main");  // unmapped, as a hidden form is
  SetNetWmName(Make(Root()), "Ärger Ωmega ＡＢ");
  const std::pair<const char*, bool> cases[] = {
      {"Lumora_Main", true}, {"LUMORA_MAIN", true},  {"lumora_main", true},     {"Lumora_Mai", false},
      {"Lumora_Main ", false}, {"", false},          {"ärger ωMEGA ａｂ", true}, {"Arger Omega AB", false},
  };
  for (const auto& [title, found] : cases) EXPECT_EQ(WindowWithTitleExists(display, title), found) << title;
}

TEST_F(WindowLookupTest, LongerTitleDoesNotMatch) {
  SetWmName(Make(Root()), "<Tovarel> and more text after it");
  EXPECT_FALSE(WindowWithTitleExists(display, "<Tovarel>"));
}

TEST_F(WindowLookupTest, FindsNetWmNameAlone) {
  SetNetWmName(Make(Root()), "<Tovarel>");
  EXPECT_TRUE(WindowWithTitleExists(display, "<Tovarel>"));
}

TEST_F(WindowLookupTest, FindsWindowsInsideFrames) {
  // A window manager reparents client windows into frames.
  Window frame = Make(Root());
  Window inner = Make(Make(frame));
  SetNetWmName(inner, "Lumora_VC");
  EXPECT_TRUE(WindowWithTitleExists(display, "Lumora_VC"));
}

TEST_F(WindowLookupTest, DestroyedWindowIsGone) {
  Window window = Make(Root());
  SetWmName(window, "Lumora_VC");
  ASSERT_TRUE(WindowWithTitleExists(display, "Lumora_VC"));
  XDestroyWindow(other, window);
  XSync(other, False);
  EXPECT_FALSE(WindowWithTitleExists(display, "Lumora_VC"));
}

TEST_F(WindowLookupTest, ManyWindowsAndNoDisplay) {
  for (int i = 0; i < 300; ++i) SetWmName(Make(Root()), "w" + std::to_string(i));
  EXPECT_TRUE(WindowWithTitleExists(display, "w299"));
  EXPECT_FALSE(WindowWithTitleExists(display, "w300"));
  EXPECT_FALSE(WindowWithTitleExists(nullptr, "w1"));
}

}  // namespace
