#include "saver/toolkit/qt/qt_container.h"

#include <QPaintEvent>
#include <QPainter>

#include "saver/toolkit/qt/qt_font.h"
#include "saver/toolkit/qt/qt_combo_box.h"
#include "saver/toolkit/qt/qt_image.h"
#include "saver/toolkit/qt/qt_label.h"
#include "saver/toolkit/qt/qt_mouse.h"
#include "saver/toolkit/qt/qt_picture.h"
#include "saver/toolkit/qt/qt_picture_box.h"
#include "saver/toolkit/qt/qt_shape.h"
#include "saver/toolkit/qt/qt_text.h"
#include "saver/toolkit/qt/qt_user_control.h"

namespace toolkit::qt {

ContainerCore::ContainerCore()
    : surface_([this] {
        if (widget_) widget_->update();
      }) {}

ContainerCore::~ContainerCore() {
  capture_ = nullptr;
  windowless_.clear();
  controls_.clear();
  delete widget_.data();
}

void ContainerCore::DropWindow() {
  capture_ = nullptr;
  ownPress_ = false;
  pointerOwner_ = nullptr;
  delete widget_.data();
}

void ContainerCore::Shutdown() {
  capture_ = nullptr;
  for (auto& control : controls_) {
    if (auto* user = dynamic_cast<QtUserControl*>(control.get())) user->Shutdown();
    if (auto* box = dynamic_cast<QtPictureBox*>(control.get())) box->Core().Shutdown();
  }
}

void ContainerCore::Attach(ContainerWidget* widget) {
  widget_ = widget;
  if (widget_) ClientResized(widget_->size());
}

WindowHandle ContainerCore::Handle() const {
  return widget_ && widget_->testAttribute(Qt::WA_WState_Created)
             ? static_cast<WindowHandle>(widget_->winId())
             : 0;
}

void ContainerCore::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (widget_) {
    // Opaque: the surface covers everything, Qt need not paint behind it.
    widget_->setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    widget_->update();
  }
}

template <class T, class... Args>
T& ContainerCore::Keep(Args&&... args) {
  auto control = std::make_unique<T>(std::forward<Args>(args)...);
  T& kept = *control;
  controls_.push_back(std::move(control));
  if constexpr (std::is_base_of_v<WindowlessControl, T>) windowless_.push_back(&kept);
  return kept;
}

Label& ContainerCore::AddLabel() { return Keep<QtLabel>(*this); }
Image& ContainerCore::AddImage() { return Keep<QtImage>(*this); }
Shape& ContainerCore::AddShape() { return Keep<QtShape>(*this); }
ComboBox& ContainerCore::AddComboBox() { return Keep<QtComboBox>(widget_.data(), Dpi()); }
PictureBox& ContainerCore::AddPictureBox() { return Keep<QtPictureBox>(widget_.data()); }
UserControl& ContainerCore::AddUserControl(UserControlEvents& events) {
  return Keep<QtUserControl>(widget_.data(), events);
}

void ContainerCore::Invalidate(const QRect& area) {
  if (widget_ && !area.isEmpty()) widget_->update(area);
}

int ContainerCore::Dpi() const { return ScreenDpi(); }

void ContainerCore::Paint(QPainter& painter, const QRect& area) const {
  if (!transparent_) surface_.PaintTo(painter, area);
  for (const WindowlessControl* control : windowless_) {
    if (control->Shown() && control->Rect().adjusted(0, 0, 1, 1).intersects(area)) {
      control->Paint(painter);
    }
  }
}

WindowlessControl* ContainerCore::HitTest(QPoint at) const {
  // Later controls lie on top. Disabled ones let the mouse through.
  for (auto it = windowless_.rbegin(); it != windowless_.rend(); ++it) {
    WindowlessControl* control = *it;
    if (control->Shown() && control->Active() && control->Handlers() != nullptr &&
        control->Rect().contains(at)) {
      return control;
    }
  }
  return nullptr;
}

void ContainerCore::ShowPointerOf(const WindowlessControl* control) {
  if (!widget_ || control == pointerOwner_) return;
  pointerOwner_ = control;
  const QtCursor* pointer = control != nullptr ? control->Pointer() : nullptr;
  if (pointer != nullptr) {
    widget_->setCursor(pointer->Shape());
  } else {
    widget_->unsetCursor();
  }
}

bool ContainerCore::MousePress(const QMouseEvent& event) {
  if (capture_ == nullptr && !ownPress_) {
    capture_ = HitTest(event.position().toPoint());
    ownPress_ = capture_ == nullptr;
  }
  if (capture_ == nullptr) return false;
  Invoke(capture_->Handlers()->down, ToMouseEvent(event, capture_->Rect().topLeft()));
  return true;
}

bool ContainerCore::MouseMove(const QMouseEvent& event) {
  if (capture_ != nullptr) {
    Invoke(capture_->Handlers()->move, ToMouseEvent(event, capture_->Rect().topLeft()));
    return true;
  }
  if (ownPress_) return false;
  WindowlessControl* over = HitTest(event.position().toPoint());
  ShowPointerOf(over);
  if (over == nullptr) return false;
  Invoke(over->Handlers()->move, ToMouseEvent(event, over->Rect().topLeft()));
  return true;
}

bool ContainerCore::MouseRelease(const QMouseEvent& event) {
  const bool last = event.buttons() == Qt::NoButton;
  if (capture_ == nullptr) {
    if (last) ownPress_ = false;
    return false;
  }
  WindowlessControl* target = capture_;
  if (last) capture_ = nullptr;
  Invoke(target->Handlers()->up, ToMouseEvent(event, target->Rect().topLeft()));
  if (last && target->Rect().contains(event.position().toPoint())) Invoke(target->Handlers()->click);
  return true;
}

ContainerWidget::ContainerWidget(ContainerCore& core, QWidget* parent)
    : QWidget(parent), core_(core) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, !core_.Transparent());
}

void ContainerWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  core_.Paint(painter, event->rect());
}

void ContainerWidget::resizeEvent(QResizeEvent*) {
  core_.ClientResized(size());
  Resized();
}

void ContainerWidget::mousePressEvent(QMouseEvent* event) {
  if (!core_.MousePress(*event)) OwnMouseDown(*event);
}

void ContainerWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // A second press is a press like the first.
  mousePressEvent(event);
}

void ContainerWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!core_.MouseMove(*event)) OwnMouseMove(*event);
}

void ContainerWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!core_.MouseRelease(*event)) OwnMouseUp(*event);
}

}  // namespace toolkit::qt
