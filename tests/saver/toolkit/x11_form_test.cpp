// Forms on a real X server: found by title while hidden, framed as asked,
// closed by the close box, embedded into another client's window and ended
// with it.
#include "tests/saver/toolkit/x11_fixture.h"

// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/saver/toolkit/conformance/form_cases.h"
#include "x11/window_lookup.h"

namespace {

using toolkittest::App;
using toolkittest::OtherClient;
using toolkittest::RecordingForm;
using toolkittest::RunEventsUntil;
using Log = std::vector<std::string>;

// Runs the program's event loop, giving up (and failing) after a while.
int RunLoopAtMost(int ms) {
  bool gaveUp = false;
  QTimer failsafe;
  failsafe.setSingleShot(true);
  QObject::connect(&failsafe, &QTimer::timeout, [&] {
    gaveUp = true;
    QCoreApplication::exit(99);
  });
  failsafe.start(ms);
  const int code = App().RunEventLoop();
  EXPECT_FALSE(gaveUp) << "the event loop did not end";
  return code;
}

void SendClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

TEST(X11Conformance, DestroyedWindow) {
  OtherClient other;
  for (const conformance::FormCase& c : conformance::DestroyedWindowCases()) {
    const auto destroy = [&](toolkit::Form& form) {
      XDestroyWindow(other.display(), form.Handle());
      XFlush(other.display());
      RunEventsUntil([&] { return !form.Loaded(); }, 5000);
    };
    EXPECT_EQ(conformance::RunFormCase(App(), c, destroy), conformance::ExpectedLog(c)) << c.name;
  }
}

TEST(X11Form, LoadedHiddenFormIsFoundByItsTitleFromAnotherClient) {
  OtherClient other;
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetCaption("Lumora_Main");
  EXPECT_FALSE(x11::WindowWithTitleExists(other.display(), "Lumora_Main"));
  form->Load();
  // Found at once: before the program's event loop has run.
  EXPECT_TRUE(x11::WindowWithTitleExists(other.display(), "Lumora_Main"));
  const Window window = form->Handle();
  EXPECT_TRUE(other.HasProperty(window, "WM_NAME", "Lumora_Main"));
  EXPECT_TRUE(other.HasProperty(window, "_NET_WM_NAME", "Lumora_Main"));
  EXPECT_FALSE(other.Viewable(window)) << "a loaded form is not shown";

  form->SetCaption("<Tovarel>");
  EXPECT_TRUE(other.HasProperty(window, "_NET_WM_NAME", "<Tovarel>"));
  EXPECT_TRUE(other.HasProperty(window, "WM_NAME", "<Tovarel>"));

  form->Unload();
  EXPECT_TRUE(RunEventsUntil([&] { return !x11::WindowWithTitleExists(other.display(), "<Tovarel>"); }, 2000))
      << "the window outlived its form";
}

TEST(X11Form, FixedSingleHasTitleAndCloseOnlyAndTheCloseBoxUnloads) {
  OtherClient other;
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetBorderStyle(toolkit::BorderStyle::FixedSingle);
  form->SetCaption("fixed");
  form->SetClientSize({496, 243});
  form->Load();
  const Window window = form->Handle();
  QObject context;  // the timers below go with the test
  QTimer::singleShot(300, &context, [&] {
    // What the window asks of a window manager.
    XSizeHints hints{};
    long supplied = 0;
    EXPECT_TRUE(XGetWMNormalHints(other.display(), window, &hints, &supplied));
    EXPECT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, 496);
    EXPECT_EQ(hints.max_width, 496);
    EXPECT_EQ(hints.min_height, 243);
    EXPECT_EQ(hints.max_height, 243);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(other.display(), window, XInternAtom(other.display(), "_MOTIF_WM_HINTS", False), 0, 5,
                       False, AnyPropertyType, &type, &format, &count, &after, &data);
    ASSERT_EQ(count, 5u);
    const long* motif = reinterpret_cast<const long*>(data);
    const long functions = motif[1];
    const long decorations = motif[2];
    XFree(data);
    // No minimise or maximise, as function (8, 16) or as box (32, 64); the
    // size is fixed by the hints above. Close (function 32) stays.
    EXPECT_EQ(functions & (8 | 16), 0) << std::hex << functions;
    EXPECT_EQ(decorations & (32 | 64), 0) << std::hex << decorations;
    EXPECT_NE(functions & 32, 0) << std::hex << functions;
    SendClose(other.display(), window);
  });
  QTimer::singleShot(5000, &context, [&] { form->Unload(); });
  form->Show(true);
  EXPECT_EQ(events.log, (Log{"load", "resize", "query-unload", "unload"}));
}

class Embedding : public testing::Test {
 protected:
  void SetUp() override {
    host = XCreateSimpleWindow(other.display(), DefaultRootWindow(other.display()), 30, 40, 200, 150, 0, 0,
                               WhitePixel(other.display(), 0));
    XMapWindow(other.display(), host);
    XSync(other.display(), False);
    form = App().CreateForm(events);
    form->SetBorderStyle(toolkittest::kBorderless);
    form->SetCaption("Preview Window");
    form->Load();
    form->SetBackColour(toolkit::MakeColour(0, 0, 0));
  }

  OtherClient other;
  Window host = 0;
  RecordingForm events;
  std::unique_ptr<toolkit::Form> form;
};

TEST_F(Embedding, ChildOfTheForeignWindowUntilItIsDestroyed) {
  EXPECT_TRUE(form->SetChildStyle());
  ASSERT_TRUE(form->SetParentWindow(host));
  form->MoveWindow({0, 0, 200, 150});
  form->Show(false);
  const Window window = form->Handle();
  ASSERT_TRUE(RunEventsUntil([&] { return other.Viewable(window); }, 2000));
  EXPECT_EQ(other.Parent(window), host);
  const std::optional<toolkit::ScreenRect> rect = App().WindowRect(window);
  ASSERT_TRUE(rect);
  EXPECT_EQ(*rect, (toolkit::ScreenRect{30, 40, 230, 190}));

  QObject context;
  QTimer::singleShot(100, &context, [&] {
    XDestroyWindow(other.display(), host);
    XFlush(other.display());
  });
  EXPECT_EQ(RunLoopAtMost(5000), 0);
  // Sized while hidden, then shown.
  EXPECT_EQ(events.log, (Log{"load", "resize", "resize", "query-unload", "unload"}));
}

TEST_F(Embedding, AHostThatIsNoWindowRefusesAndLeavesNothingBehind) {
  XDestroyWindow(other.display(), host);
  XSync(other.display(), False);
  EXPECT_FALSE(form->SetParentWindow(host));
  EXPECT_FALSE(form->SetParentWindow(0x3FFFFFFF));
  EXPECT_FALSE(form->SetParentWindow(0));
  // X errors from all that were not the end of the program.
  EXPECT_FALSE(App().WindowRect(0x3FFFFFFF).has_value());
  EXPECT_TRUE(form->Loaded());
  EXPECT_FALSE(other.Viewable(form->Handle()));
  EXPECT_EQ(other.Parent(form->Handle()), DefaultRootWindow(other.display()));
  form->Unload();
}

TEST_F(Embedding, AHostDestroyedRightAfterTheEmbeddingIsStillNoticed) {
  ASSERT_TRUE(form->SetParentWindow(host));
  // Gone before the program's loop ever ran.
  XDestroyWindow(other.display(), host);
  XSync(other.display(), False);
  EXPECT_EQ(RunLoopAtMost(5000), 0);
  EXPECT_EQ(events.log.back(), "unload");
}

}  // namespace
