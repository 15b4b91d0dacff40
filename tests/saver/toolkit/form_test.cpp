// Forms and timers on the offscreen platform: the order of the events, the
// loops that end with unloading; the conformance tables over Qt.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <thread>

#include "tests/saver/toolkit/conformance/form_cases.h"
#include "tests/saver/toolkit/conformance/label_cases.h"
#include "tests/saver/toolkit/conformance/timer_cases.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkittest::App;
using toolkittest::RecordingForm;
using toolkittest::RunEventsFor;
using Log = std::vector<std::string>;

TEST(QtForm, LifeCycleConformance) {
  for (const conformance::FormCase& c : conformance::FormCases())
    EXPECT_EQ(conformance::RunFormCase(App(), c), conformance::ExpectedLog(c)) << c.name;
}

class QtClock : public conformance::TimerClock {
 public:
  void Wait(int ms) override { RunEventsFor(ms); }
  void Busy(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

TEST(QtConformance, Timers) {
  QtClock clock;
  for (const conformance::TimerCase& c : conformance::TimerCases()) {
    RecordingForm events;
    auto form = App().CreateForm(events);
    form->Load();
    EXPECT_EQ(conformance::RunTimerCase(*form, clock, c), c.log) << c.name;
    form->Unload();
  }
}

TEST(QtConformance, LabelSize) {
  for (const conformance::LabelCase& c : conformance::LabelCases()) {
    RecordingForm events;
    auto form = App().CreateForm(events);
    form->Load();
    EXPECT_EQ(conformance::RunLabelCase(form->AddLabel(), c), c.log) << c.name;
    form->Unload();
  }
}

TEST(QtForm, HasAWindowFromLoadOnAndASurfaceOfItsSize) {
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetClientSize({100, 50});
  EXPECT_EQ(form->Handle(), 0u) << "no window before Load";
  form->Load();
  EXPECT_NE(form->Handle(), 0u);
  form->SetClientSize({120, 60});
  EXPECT_EQ(form->GetSurface().PixelSize(), (toolkit::Size{120, 60}));
  form->Unload();
  EXPECT_EQ(form->Handle(), 0u);
  RunEventsFor(50);  // the old window is deleted by now
  form->Load();
  EXPECT_TRUE(form->Loaded());
  EXPECT_NE(form->Handle(), 0u) << "a window of its own again";
  form->Unload();
}

// A form with no width or no height shows nothing, not its 1-pixel window.
TEST(QtForm, AnEmptyFormIsNotShown) {
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetClientSize({0, 50});
  form->Show(false);
  QWidget* window = QWidget::find(static_cast<WId>(form->Handle()));
  ASSERT_NE(window, nullptr);
  const std::pair<toolkit::Size, bool> steps[] = {
      {{0, 50}, false}, {{20, 50}, true}, {{20, 0}, false}, {{20, 10}, true}};
  for (const auto& [size, visible] : steps) {
    form->SetClientSize(size);
    EXPECT_EQ(window->isVisible(), visible) << size.width << "x" << size.height;
  }
  form->Hide();
  form->SetClientSize({30, 30});
  EXPECT_FALSE(window->isVisible()) << "a hidden form stays hidden";
  form->Unload();
}

TEST(QtForm, ModalShowReturnsOnceTheFormIsUnloaded) {
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetClientSize({40, 30});
  QObject context;  // the timers go with the test
  events.onLoad = [&] { QTimer::singleShot(50, &context, [&] { form->Unload(); }); };
  bool gaveUp = false;
  QTimer failsafe;
  failsafe.setSingleShot(true);
  QObject::connect(&failsafe, &QTimer::timeout, [&] {
    gaveUp = true;
    form->Unload();
  });
  failsafe.start(5000);
  form->Show(true);  // loads the form itself
  EXPECT_FALSE(gaveUp);
  EXPECT_EQ(events.log, (Log{"load", "resize", "query-unload", "unload"}));
}

TEST(QtForm, EventLoopRunsUntilTheLastFormIsUnloaded) {
  RecordingForm first, second;
  auto a = App().CreateForm(first);
  auto b = App().CreateForm(second);
  EXPECT_EQ(App().RunEventLoop(), 0) << "nothing loaded: returns at once";
  a->Load();
  b->Load();
  QObject context;
  QTimer::singleShot(30, &context, [&] { a->Unload(); });
  QTimer::singleShot(80, &context, [&] { b->Unload(); });
  QTimer failsafe;
  failsafe.setSingleShot(true);
  QObject::connect(&failsafe, &QTimer::timeout, [&] { QCoreApplication::exit(7); });
  failsafe.start(5000);
  EXPECT_EQ(App().RunEventLoop(), 0);
  EXPECT_EQ(second.log.back(), "unload");
  EXPECT_EQ(App().LoadedFormCount(), 0);
}

TEST(QtForm, AFormWithoutWindowStaysQuiet) {
  // After Unload the form's window and controls are gone; using them does
  // nothing (the program does not, but nothing may crash if it did).
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->Load();
  toolkit::Label& label = form->AddLabel();
  toolkit::ComboBox& box = form->AddComboBox();
  form->Unload();
  RunEventsFor(20);
  label.SetCaption("x");
  box.SetText("y");
  box.AddItem("z");
  EXPECT_EQ(box.Text(), "y");
  EXPECT_EQ(box.ItemCount(), 1);
}

TEST(QtForm, WithoutAnXServerTheXOnlyAnswersAreNothing) {
  RecordingForm events;
  auto form = App().CreateForm(events);
  form->SetBorderStyle(toolkit::BorderStyle::None);
  form->Load();
  form->MoveWindow({20, 30, 40, 50});
  EXPECT_FALSE(App().CursorPosition().has_value());
  EXPECT_EQ(App().WindowAtPoint({25, 35}), 0u);
  EXPECT_FALSE(form->SetParentWindow(12345));
  EXPECT_EQ(App().WindowRect(form->Handle()), (toolkit::ScreenRect{20, 30, 60, 80})) << "our own: Qt knows it";
  EXPECT_FALSE(App().WindowRect(12345).has_value());
  App().ShowCursor(false);
  App().ShowCursor(true);
  App().SetBusyPointer(true);
  App().SetBusyPointer(false);
  App().ZoomRects(form->Handle(), {0, 0, 0, 0}, {20, 30, 60, 80});
  EXPECT_EQ(App().TwipsPerPixelX(), 15);
  EXPECT_EQ(App().TwipsPerPixelY(), 15);
  form->Unload();
}

}  // namespace
