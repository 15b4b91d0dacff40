#include "saver/toolkit/qt/qt_user_control.h"

#include <QFocusEvent>

#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {
namespace {

class UserControlWidget final : public ContainerWidget {
 public:
  UserControlWidget(QtUserControl& owner, QWidget* parent)
      : ContainerWidget(owner.Core(), parent), owner_(owner) {
    // Qt's click focus comes with any button; only the left one gives it.
    setFocusPolicy(Qt::TabFocus);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && !hasFocus()) setFocus(Qt::MouseFocusReason);
    ContainerWidget::mousePressEvent(event);
  }
  void OwnMouse(MouseAction action, const MouseEvent& event) override {
    UserControlEvents& events = owner_.Events();
    if (action == MouseAction::Down) events.MouseDown(event);
    else if (action == MouseAction::Move) events.MouseMove(event);
    else events.MouseUp(event);
  }
  void focusInEvent(QFocusEvent*) override {
    Invoke([&] { owner_.Events().GotFocus(); });
  }
  void focusOutEvent(QFocusEvent*) override {
    Invoke([&] { owner_.Events().LostFocus(); });
  }
  void Resized() override { owner_.SizeMayHaveChanged(size()); }

 private:
  QtUserControl& owner_;
};

}  // namespace

QtUserControl::QtUserControl(QWidget* parent, UserControlEvents& events) : events_(events) {
  if (parent == nullptr) return;
  auto* widget = new UserControlWidget(*this, parent);
  core_.Attach(widget);
  Adopt(widget);
}

WindowHandle QtUserControl::ParentHandle() const {
  QWidget* parent = widget_ ? widget_->parentWidget() : nullptr;
  if (parent == nullptr || !parent->testAttribute(Qt::WA_WState_Created)) return 0;
  return static_cast<WindowHandle>(parent->winId());
}

Timer& QtUserControl::AddTimer(int intervalMs, bool enabled, std::function<void()> tick) {
  timers_.push_back(std::make_unique<QtTimer>(intervalMs, enabled, std::move(tick)));
  // Controls come once their form is loaded; without a window nothing ticks.
  timers_.back()->SetLive(widget_ != nullptr && !shut_);
  return *timers_.back();
}

void QtUserControl::Shutdown() {
  shut_ = true;
  for (auto& timer : timers_) timer->SetLive(false);
  core_.Shutdown();
}

void QtUserControl::Moved() {
  // Qt holds back the resize event of a hidden window until it is shown;
  // the program hears of the new size at once, as on Windows.
  core_.ClientResized(QSize(std::max(bounds_.width, 0), std::max(bounds_.height, 0)));
  SizeMayHaveChanged(QSize(std::max(bounds_.width, 0), std::max(bounds_.height, 0)));
}

void QtUserControl::SizeMayHaveChanged(QSize size) {
  if (size == reported_) return;
  reported_ = size;
  Invoke([&] { Events().Resize(); });
}

}  // namespace toolkit::qt
