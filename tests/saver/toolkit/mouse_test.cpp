// The mouse and the focus: windowless controls get their events from their
// container (the conformance cases), user controls report theirs; the combo
// box keeps its text while its list grows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <tuple>
#include <iterator>

#include "tests/saver/toolkit/conformance/mouse_cases.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkittest::App;
using toolkittest::RecordingControl;
using toolkittest::RecordingForm;
using Log = std::vector<std::string>;

QWidget* WidgetOf(toolkit::WindowHandle handle) { return QWidget::find(static_cast<WId>(handle)); }

// A synthetic mouse event straight to the window, as Qt would deliver it.
void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, modifiers);
  QApplication::sendEvent(widget, &event);
}

void Press(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) { Mouse(w, QEvent::MouseButtonPress, at, b, b); }
void Release(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
  Mouse(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}

std::vector<unsigned char> HandCursorFile() {
  std::ifstream in(std::string(TOVAREL_DIALOG_RESOURCES) + "/hand.cur", std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The user control's window hears the mouse as Qt delivers it.
class QtMouse : public conformance::MouseInput {
 public:
  explicit QtMouse(QWidget* window) : window_(window) {}
  void Move(int x, int y) override { ::Mouse(window_, QEvent::MouseMove, {x, y}, Qt::NoButton, held_); }
  void Press(int button, int x, int y) override {
    held_ |= ButtonOf(button);
    ::Mouse(window_, QEvent::MouseButtonPress, {x, y}, ButtonOf(button), held_);
  }
  void Release(int button, int x, int y) override {
    held_ &= ~ButtonOf(button);
    ::Mouse(window_, QEvent::MouseButtonRelease, {x, y}, ButtonOf(button), held_);
  }
  // Label A's pointer is the dialog's hand, as its cursor file has it.
  bool PointerIsAs() override {
    const QCursor cursor = window_->cursor();
    return cursor.shape() == Qt::BitmapCursor && cursor.pixmap().size() == QSize(32, 32) &&
           cursor.hotSpot() == QPoint(12, 10);
  }

 private:
  static Qt::MouseButton ButtonOf(int button) {
    return button == toolkit::LeftButton ? Qt::LeftButton : button == toolkit::RightButton ? Qt::RightButton : Qt::MiddleButton;
  }
  QWidget* window_;
  Qt::MouseButtons held_;
};

TEST(QtConformance, WindowlessMouse) {
  const std::vector<unsigned char> hand = HandCursorFile();
  for (const conformance::MouseCase& c : conformance::MouseCases()) {
    RecordingForm events;
    auto form = App().CreateForm(events);
    form->SetClientSize({200, 100});
    form->Load();
    conformance::MouseScenario scenario(*form, App().LoadCursor(hand));
    form->Show(false);
    QWidget* window = WidgetOf(scenario.Control().Handle());
    ASSERT_NE(window, nullptr);
    QtMouse mouse(window);
    for (const std::string& step : c.steps) EXPECT_TRUE(scenario.Do(step, mouse)) << step;
    EXPECT_EQ(scenario.Log(), c.log) << c.name;
    form->Unload();
  }
}

class MouseRouting : public testing::Test {
 protected:
  void SetUp() override {
    form = App().CreateForm(events);
    form->SetClientSize({200, 100});
    form->Load();
    control = &form->AddUserControl(controlEvents);
    control->Move({100, 10, 80, 40});
    label = &control->AddLabel();
    label->Move({10, 10, 30, 10});
    form->Show(false);
    toolkittest::RunEventsUntil([&] { return WidgetOf(form->Handle())->isActiveWindow(); }, 2000);
    controlEvents.log.clear();
  }
  void TearDown() override { form->Unload(); }

  RecordingForm events;
  RecordingControl controlEvents;
  std::unique_ptr<toolkit::Form> form;
  toolkit::UserControl* control = nullptr;
  toolkit::Label* label = nullptr;
};

TEST_F(MouseRouting, UserControlTakesTheFocusAndTellsOfItsSizes) {
  RecordingControl otherEvents;
  toolkit::UserControl& other = form->AddUserControl(otherEvents);
  other.Move({0, 60, 20, 20});
  EXPECT_EQ(otherEvents.log, (Log{"resize"}));
  WidgetOf(other.Handle())->setFocus(Qt::TabFocusReason);
  controlEvents.log.clear();
  WidgetOf(control->Handle())->setFocus(Qt::MouseFocusReason);
  WidgetOf(other.Handle())->setFocus(Qt::TabFocusReason);
  control->Move({100, 10, 80, 40});  // same size: no Resize
  control->Move({90, 10, 80, 30});
  EXPECT_EQ(controlEvents.log, (Log{"got-focus", "lost-focus", "resize"}));
  EXPECT_EQ(control->ParentHandle(), form->Handle());
  EXPECT_NE(control->Handle(), form->Handle());
  EXPECT_EQ(control->GetSurface().PixelSize(), (toolkit::Size{80, 30}));
}

// Only a left press gives the focus (and so a focused look); a right or a
// middle one is reported and changes nothing else, on the face or its label.
TEST_F(MouseRouting, OnlyALeftPressGivesTheUserControlTheFocus) {
  QWidget* face = WidgetOf(control->Handle());
  ASSERT_NE(face, nullptr);
  RecordingControl otherEvents;
  toolkit::UserControl& other = form->AddUserControl(otherEvents);
  other.Move({0, 60, 20, 20});
  WidgetOf(other.Handle())->setFocus(Qt::TabFocusReason);
  controlEvents.log.clear();
  for (const auto& [at, button, focus] : std::vector<std::tuple<QPoint, Qt::MouseButton, bool>>{
           {{5, 5}, Qt::RightButton, false}, {{15, 12}, Qt::MiddleButton, false},
           {{15, 12}, Qt::RightButton, false}, {{15, 12}, Qt::LeftButton, true}}) {
    Press(face, at, button);
    Release(face, at, button);
    EXPECT_EQ(face->hasFocus(), focus) << button;
  }
  EXPECT_EQ(std::count(controlEvents.log.begin(), controlEvents.log.end(), "got-focus"), 1)
      << testing::PrintToString(controlEvents.log);
}

TEST_F(MouseRouting, ComboBoxKeepsItsTextWhileItemsAreAdded) {
  toolkit::ComboBox& box = form->AddComboBox();
  box.SetText("12");
  for (const char* item : {"", "1", "2"}) box.AddItem(item);
  EXPECT_EQ(box.Text(), "12");
  EXPECT_EQ(box.ItemCount(), 3);
  EXPECT_EQ(box.Item(0), "");
  EXPECT_EQ(box.Item(2), "2");
  EXPECT_EQ(box.Item(3), "");
  box.SetText("");
  EXPECT_EQ(box.Text(), "");
  box.SetEnabled(false);
  EXPECT_FALSE(box.Enabled());
  EXPECT_FALSE(WidgetOf(box.Handle())->isEnabled());
}

}  // namespace
