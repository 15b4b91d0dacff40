#include "x11/error_trap.h"

// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "tests/support/xvfb_server.h"

namespace {

int programErrors = 0;
int CountProgramError(Display*, XErrorEvent*) {
  ++programErrors;
  return 0;
}

class ErrorTrapTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.Running());
    display = XOpenDisplay(xvfb.Display().c_str());
    other = XOpenDisplay(xvfb.Display().c_str());
    ASSERT_TRUE(display != nullptr && other != nullptr);
    gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XSync(display, False);
    programErrors = 0;
    XSetErrorHandler(CountProgramError);
  }
  void TearDown() override {
    XSetErrorHandler(nullptr);
    if (other != nullptr) XCloseDisplay(other);
    if (display != nullptr) XCloseDisplay(display);
  }
  // A request the server refuses (BadWindow), answered later.
  void Fail(Display* on) { XMapWindow(on, gone); }

  testsupport::XvfbServer xvfb;
  Display* display = nullptr;
  Display* other = nullptr;
  Window gone = 0;
};

// Which errors a trap takes and which reach the program's own handler.
TEST_F(ErrorTrapTest, TakesTheErrorsOfItsDisplay) {
  using Earlier = x11::ErrorTrap::Earlier;
  struct Case {
    const char* name;
    Earlier earlier;
    bool failBefore, failInside, failOnOther;
    bool trapped;
    int program;
  };
  const Case cases[] = {
      {"nothing fails", Earlier::Trapped, false, false, false, false, 0},
      {"a request inside", Earlier::Trapped, false, true, false, true, 0},
      {"a request inside, earlier excluded", Earlier::Excluded, false, true, false, true, 0},
      {"an unanswered earlier request", Earlier::Trapped, true, false, false, true, 0},
      {"an earlier request excluded", Earlier::Excluded, true, false, false, false, 1},
      {"another display's request", Earlier::Trapped, false, false, true, false, 1},
      {"both displays", Earlier::Trapped, false, true, true, true, 1},
  };
  for (const Case& c : cases) {
    programErrors = 0;
    if (c.failBefore) Fail(display);
    bool failed = false;
    {
      x11::ErrorTrap trap(display, c.earlier);
      if (c.failInside) Fail(display);
      if (c.failOnOther) {
        Fail(other);
        XSync(other, False);
      }
      failed = trap.Failed();
    }
    EXPECT_EQ(failed, c.trapped) << c.name;
    EXPECT_EQ(programErrors, c.program) << c.name;
    // The program's handler is back once the trap has gone.
    Fail(display);
    XSync(display, False);
    EXPECT_EQ(programErrors, c.program + 1) << c.name;
  }
}

TEST_F(ErrorTrapTest, NestedTrapsKeepTheirOwnErrors) {
  x11::ErrorTrap outer(display);
  {
    x11::ErrorTrap inner(display);
    Fail(display);
    EXPECT_TRUE(inner.Failed());
  }
  EXPECT_FALSE(outer.Failed());
  {
    x11::ErrorTrap inner(other);
    Fail(display);
    EXPECT_FALSE(inner.Failed());
  }
  EXPECT_TRUE(outer.Failed());
  EXPECT_EQ(programErrors, 0);
}

// Set inside a trap (as after a toolkit's start), the ignoring handler is the
// one the trap puts back.
TEST_F(ErrorTrapTest, IgnoringHandlerOutlivesTheTrapItWasSetIn) {
  {
    x11::ErrorTrap trap(display);
    x11::IgnoreErrorsOutsideTraps();
  }
  Fail(display);
  XSync(display, False);
  EXPECT_EQ(programErrors, 0);
}

}  // namespace
