// The toolkit's conformance cases over the unit tests' fake.
#include <gtest/gtest.h>

#include "tests/saver/support/fake_toolkit.h"
#include "tests/saver/toolkit/conformance/form_cases.h"
#include "tests/saver/toolkit/conformance/label_cases.h"
#include "tests/saver/toolkit/conformance/mouse_cases.h"
#include "tests/saver/toolkit/conformance/timer_cases.h"

namespace {

using testsupport::FakeApplication;
using testsupport::FakeForm;
using testsupport::FakeLabel;
using testsupport::FakeUserControl;

TEST(FakeConformance, FormLifeCycle) {
  for (const conformance::FormCase& c : conformance::FormCases()) {
    FakeApplication app;
    EXPECT_EQ(conformance::RunFormCase(app, c), conformance::ExpectedLog(c)) << c.name;
  }
}

TEST(FakeConformance, DestroyedWindow) {
  for (const conformance::FormCase& c : conformance::DestroyedWindowCases()) {
    FakeApplication app;
    const auto destroy = [](toolkit::Form& form) { static_cast<FakeForm&>(form).WindowDestroyed(); };
    EXPECT_EQ(conformance::RunFormCase(app, c, destroy), conformance::ExpectedLog(c)) << c.name;
  }
}

// The control's window hears the mouse as the system would report it.
class FakeMouse : public conformance::MouseInput {
 public:
  explicit FakeMouse(FakeUserControl& control) : control_(control) {}
  void Move(int x, int y) override { control_.router.Move({held_, 0, x, y}); }
  void Press(int button, int x, int y) override {
    held_ |= button;
    control_.router.Press({button, 0, x, y});
  }
  void Release(int button, int x, int y) override {
    held_ &= ~button;
    control_.router.Release({button, 0, x, y});
  }
  bool PointerIsAs() override {
    const auto* label = dynamic_cast<const FakeLabel*>(control_.router.Hovered());
    return label != nullptr && label->Pointer() != nullptr;
  }

 private:
  FakeUserControl& control_;
  int held_ = 0;
};

TEST(FakeConformance, WindowlessMouse) {
  for (const conformance::MouseCase& c : conformance::MouseCases()) {
    FakeApplication app;
    toolkit::FormEvents events;
    auto form = app.CreateForm(events);
    form->Load();
    const unsigned char cursorFile[] = {0};
    conformance::MouseScenario scenario(*form, app.LoadCursor(cursorFile));
    FakeMouse mouse(dynamic_cast<FakeUserControl&>(scenario.Control()));
    for (const std::string& step : c.steps) EXPECT_TRUE(scenario.Do(step, mouse)) << step;
    EXPECT_EQ(scenario.Log(), c.log) << c.name;
  }
}

class FakeClock : public conformance::TimerClock {
 public:
  explicit FakeClock(FakeApplication& app) : app_(app) {}
  void Wait(int ms) override { app_.RunEventsFor(ms); }
  void Busy(int ms) override { app_.logger.now += ms; }

 private:
  FakeApplication& app_;
};

TEST(FakeConformance, Timers) {
  for (const conformance::TimerCase& c : conformance::TimerCases()) {
    FakeApplication app;
    toolkit::FormEvents events;
    auto form = app.CreateForm(events);
    form->Load();
    FakeClock clock(app);
    EXPECT_EQ(conformance::RunTimerCase(*form, clock, c), c.log) << c.name;
  }
}

TEST(FakeConformance, LabelSize) {
  for (const conformance::LabelCase& c : conformance::LabelCases()) {
    FakeApplication app;
    app.logger.measuresText = true;
    toolkit::FormEvents events;
    auto form = app.CreateForm(events);
    form->Load();
    EXPECT_EQ(conformance::RunLabelCase(form->AddLabel(), c), c.log) << c.name;
  }
}

}  // namespace
