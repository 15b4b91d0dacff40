// The screen as the program asks about it, on a real X server: the window
// under a point (native windows count, windowless controls do not), the
// pointer, rectangles, repaints served from the retained image, the zoom
// outlines, and the pointer hidden for as long as its hider lives.
#include "tests/saver/toolkit/x11_fixture.h"

// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XTest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "tests/support/child_process.h"
#include "saver/toolkit/x11/screen_query.h"
#include "tests/saver/support/temp_dir.h"

namespace {

using toolkittest::App;
using toolkittest::OtherClient;
using toolkittest::RecordingControl;
using toolkittest::RecordingForm;
using toolkittest::RunEventsFor;
using toolkittest::RunEventsUntil;

// Every pixel of a window, read by another client.
std::vector<unsigned long> Pixels(Display* display, Window window, int width, int height) {
  std::vector<unsigned long> pixels;
  XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
  }
  XDestroyImage(image);
  return pixels;
}

// A borderless form at (100, 100), 200 x 120, shown, with a user control
// (a native window) and a label (windowless) on it.
class Screen : public testing::Test {
 protected:
  void SetUp() override {
    form = App().CreateForm(events);
    form->SetBorderStyle(toolkittest::kBorderless);
    form->SetClientSize({200, 120});
    form->Load();
    form->SetBackColour(toolkit::MakeColour(0, 0, 80));
    form->MoveWindow({100, 100, 200, 120});
    control = &form->AddUserControl(controlEvents);
    control->Move({10, 10, 60, 40});
    label = &form->AddLabel();
    label->SetCaption("label");
    label->Move({100, 10, 60, 20});
    form->Show(false);
    ASSERT_TRUE(RunEventsUntil([&] { return other.Viewable(form->Handle()) && other.Viewable(control->Handle()); }, 3000));
    RunEventsFor(100);
  }
  void TearDown() override { form->Unload(); }

  OtherClient other;
  RecordingForm events;
  RecordingControl controlEvents;
  std::unique_ptr<toolkit::Form> form;
  toolkit::UserControl* control = nullptr;
  toolkit::Label* label = nullptr;
};

TEST_F(Screen, WindowAtPointFindsNativeWindowsOnlyAndThePointerIsWhereItWent) {
  EXPECT_EQ(App().WindowAtPoint({100 + 20, 100 + 20}), control->Handle());
  EXPECT_EQ(App().WindowAtPoint({100 + 120, 100 + 15}), form->Handle()) << "over the windowless label";
  EXPECT_EQ(App().WindowAtPoint({100 + 5, 100 + 100}), form->Handle());
  EXPECT_EQ(App().WindowAtPoint({500, 500}), DefaultRootWindow(other.display()));
  EXPECT_EQ(control->ParentHandle(), form->Handle());

  XWarpPointer(other.display(), None, DefaultRootWindow(other.display()), 0, 0, 0, 0, 123, 145);
  XSync(other.display(), False);
  const std::optional<toolkit::Point> pointer = App().CursorPosition();
  ASSERT_TRUE(pointer);
  EXPECT_EQ(*pointer, (toolkit::Point{123, 145}));

  EXPECT_EQ(App().WindowRect(form->Handle()), (toolkit::ScreenRect{100, 100, 300, 220}));
  EXPECT_EQ(App().WindowRect(control->Handle()), (toolkit::ScreenRect{110, 110, 170, 150}));
  EXPECT_EQ(App().ScreenSize(), (toolkit::Size{1024, 768}));
  EXPECT_EQ(App().TwipsPerPixelX(), 15);
  EXPECT_EQ(App().TwipsPerPixelY(), 15);
}

// Below our own windows the answer comes from Qt's widget tree, and after
// a pointer query from that query's top-level window: it must be what the
// server itself says, through nested, hidden and covered windows.
TEST_F(Screen, WindowAtPointAgreesWithTheServerBelowOurWindows) {
  toolkit::PictureBox& box = form->AddPictureBox();
  box.Move({80, 60, 100, 50});
  RecordingControl innerEvents, hiddenEvents;
  toolkit::UserControl& inner = box.AddUserControl(innerEvents);
  inner.Move({10, 10, 30, 20});
  toolkit::UserControl& hidden = box.AddUserControl(hiddenEvents);
  hidden.Move({50, 10, 30, 20});
  hidden.SetVisible(false);
  ASSERT_TRUE(RunEventsUntil([&] { return other.Viewable(inner.Handle()); }, 3000));
  RunEventsFor(100);

  auto agreeAt = [&](int x, int y) {
    const toolkit::x11::WindowId server = toolkit::x11::WindowAt(other.display(), x, y);
    EXPECT_EQ(App().WindowAtPoint({x, y}), server) << x << "," << y;
    return server;
  };
  for (int y = 90; y < 235; y += 6) {
    for (int x = 90; x < 315; x += 6) agreeAt(x, y);
  }
  EXPECT_EQ(agreeAt(100 + 80 + 15, 100 + 60 + 15), inner.Handle());
  EXPECT_EQ(agreeAt(100 + 80 + 55, 100 + 60 + 15), box.Handle()) << "a hidden control counts for nothing";

  // After a pointer query, for the point it gave.
  XWarpPointer(other.display(), None, DefaultRootWindow(other.display()), 0, 0, 0, 0, 100 + 80 + 15, 100 + 60 + 15);
  XSync(other.display(), False);
  const std::optional<toolkit::Point> pointer = App().CursorPosition();
  ASSERT_TRUE(pointer);
  EXPECT_EQ(App().WindowAtPoint(*pointer), inner.Handle());

  // Another program's window over ours is what lies there.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  const Window cover = XCreateWindow(other.display(), DefaultRootWindow(other.display()), 170, 150, 40, 40, 0,
                                     CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
  XMapRaised(other.display(), cover);
  XSync(other.display(), False);
  RunEventsFor(30);  // the program hears of it in a later pass of its event loop
  EXPECT_EQ(App().CursorPosition(), pointer);
  EXPECT_EQ(App().WindowAtPoint(*pointer), cover);
  EXPECT_EQ(agreeAt(100 + 20, 100 + 20), control->Handle());
  XDestroyWindow(other.display(), cover);
  XSync(other.display(), False);
}

TEST_F(Screen, RepaintsComeFromTheRetainedImageWithoutProgramCode) {
  form->GetSurface().Line({0, 60}, {200, 60}, toolkit::MakeColour(255, 0, 0));
  control->GetSurface().Clear();
  control->GetSurface().Line({5, 0}, {5, 40}, toolkit::MakeColour(0, 255, 0));
  RunEventsFor(200);
  const std::vector<unsigned long> before = Pixels(other.display(), form->Handle(), 200, 120);
  ASSERT_EQ(before.size(), 200u * 120u);
  EXPECT_EQ(before[60 * 200 + 150], 0xFF0000u);
  EXPECT_EQ(before[30 * 200 + 15], 0x00FF00u) << "the control's own surface";
  const std::vector<std::string> formLog = events.log;
  const std::vector<std::string> controlLog = controlEvents.log;

  // Another client's window over ours, then gone: the server asks us to
  // paint what it had covered.
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(other.display(), 0);
  const Window cover = XCreateWindow(other.display(), DefaultRootWindow(other.display()), 90, 90, 300, 200, 0,
                                     CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                                     &attributes);
  XMapRaised(other.display(), cover);
  XSync(other.display(), False);
  RunEventsFor(100);
  XDestroyWindow(other.display(), cover);
  XSync(other.display(), False);
  ASSERT_TRUE(RunEventsUntil([&] { return Pixels(other.display(), form->Handle(), 200, 120) == before; }, 3000))
      << "the uncovered window does not show what was drawn";
  EXPECT_EQ(events.log, formLog) << "program code ran for a repaint";
  EXPECT_EQ(controlEvents.log, controlLog) << "program code ran for a repaint";
}

TEST_F(Screen, TransparentControlShowsItsContainerBehindItsLabels) {
  form->GetSurface().Line({0, 30}, {200, 30}, toolkit::MakeColour(255, 0, 0));
  control->SetBackColour(toolkit::MakeColour(0, 255, 0));  // its surface: all green
  toolkit::Label& caption = control->AddLabel();
  caption.SetFont({"DejaVu Sans", 12, 700, false, false, false, 0});
  caption.SetForeColour(toolkit::MakeColour(255, 255, 255));
  caption.SetCaption("WW");
  caption.Move({30, 0, 30, 40});
  auto at = [&](int x, int y) {
    return Pixels(other.display(), control->Handle(), 60, 40)[static_cast<std::size_t>(y * 60 + x)];
  };
  ASSERT_TRUE(RunEventsUntil([&] { return at(5, 5) == 0x00FF00u; }, 2000));
  control->SetTransparent(true);
  EXPECT_TRUE(control->Transparent());
  // The form's line runs at its row 30, the control's row 20.
  ASSERT_TRUE(RunEventsUntil([&] { return at(5, 20) == 0xFF0000u; }, 2000)) << std::hex << at(5, 20);
  EXPECT_EQ(at(5, 5), 0x000050u) << "the form's back colour";
  int white = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 30; x < 60; ++x) white += at(x, y) == 0xFFFFFFu;
  }
  EXPECT_GT(white, 5) << "the label stays";
  control->SetTransparent(false);
  EXPECT_TRUE(RunEventsUntil([&] { return at(5, 20) == 0x00FF00u; }, 2000));
}

TEST_F(Screen, ZoomOutlinesTakeAboutAFifthOfASecondAndLeaveTheScreenAsItWas) {
  const std::vector<unsigned long> before = Pixels(other.display(), DefaultRootWindow(other.display()), 400, 300);
  QElapsedTimer clock;
  clock.start();
  App().ZoomRects(form->Handle(), {10, 10, 10, 10}, {100, 100, 300, 220});
  const qint64 took = clock.elapsed();
  EXPECT_GE(took, 150);
  EXPECT_LE(took, 250);
  EXPECT_EQ(Pixels(other.display(), DefaultRootWindow(other.display()), 400, 300), before)
      << "an outline was left on the screen";
}

// The pointer as Xvfb draws it, at the point it rests on: over a window with
// a pointer shape of its own (the root has none).
class PointerHiding : public testing::Test {
 protected:
  void SetUp() override {
    Display* display = other.display();
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, 0);
    attributes.cursor = XCreateFontCursor(display, XC_crosshair);
    backdrop = XCreateWindow(display, DefaultRootWindow(display), 500, 400, 200, 200, 0, CopyFromParent,
                             InputOutput, CopyFromParent, CWBackPixel | CWCursor, &attributes);
    XMapRaised(display, backdrop);
    XSync(display, False);
    XTestFakeMotionEvent(display, 0, 600, 500, 0);
    XSync(display, False);
  }
  void TearDown() override {
    XDestroyWindow(other.display(), backdrop);
    XSync(other.display(), False);
  }
  // Pixels of the pointer's image around the point it rests on.
  int PointerPixels() {
    int lit = 0;
    for (int y = 480; y < 520; ++y) {
      for (int x = 580; x < 620; ++x) lit += toolkittest::ScreenPixel(x, y).value_or(0) != 0;
    }
    return lit;
  }
  bool WaitForPointer(bool shown) {
    for (int i = 0; i < 300; ++i) {
      if ((PointerPixels() > 0) == shown) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  OtherClient other;
  Window backdrop = 0;
};

TEST_F(PointerHiding, HiddenWhileItsHiderLivesAndBackWhenItIsKilled) {
  ASSERT_TRUE(WaitForPointer(true)) << "no pointer to begin with";
  testsupport::TempDir folder;
  testsupport::ChildProcess probe;
  ASSERT_TRUE(probe.Start(TOVAREL_TOOLKIT_PROBE, {folder.File("log"), "hide"}));
  EXPECT_TRUE(WaitForPointer(false)) << "the pointer was not hidden";
  probe.Signal(SIGKILL);  // nothing of the program's own runs
  probe.Wait(10);
  EXPECT_TRUE(WaitForPointer(true)) << "the pointer stayed hidden after its hider died";
}

TEST_F(PointerHiding, CountedAsTheSystemCountsIt) {
  ASSERT_TRUE(WaitForPointer(true));
  App().ShowCursor(false);
  EXPECT_TRUE(WaitForPointer(false));
  App().ShowCursor(false);
  App().ShowCursor(true);
  RunEventsFor(100);
  EXPECT_EQ(PointerPixels(), 0) << "shown before the count is back to zero";
  App().ShowCursor(true);
  EXPECT_TRUE(WaitForPointer(true));
  App().ShowCursor(true);  // above zero: nothing to do
  App().ShowCursor(false);
  RunEventsFor(100);
  EXPECT_GT(PointerPixels(), 0);
  App().ShowCursor(false);
  EXPECT_TRUE(WaitForPointer(false));
  App().ShowCursor(true);
  EXPECT_TRUE(WaitForPointer(true));
}

}  // namespace
