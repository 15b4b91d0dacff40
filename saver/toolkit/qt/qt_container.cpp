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
      }) {
  router_.SetHooks({.own =
                        [this](MouseAction action, const MouseEvent& event) {
                          if (widget_) widget_->OwnMouse(action, event);
                        },
                    .hover = [this](WindowlessTarget* over) { ShowPointerOf(over); },
                    .capture = {}});
}

ContainerCore::~ContainerCore() {
  router_.Reset();
  windowless_.clear();
  controls_.clear();
  delete widget_.data();
}

void ContainerCore::DropWindow() {
  router_.Reset();
  delete widget_.data();
}

void ContainerCore::Shutdown() {
  router_.Reset();
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
  if constexpr (std::is_base_of_v<WindowlessControl, T>) {
    windowless_.push_back(&kept);
    router_.Add(kept);
  }
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

void ContainerCore::ShowPointerOf(const WindowlessTarget* control) {
  if (!widget_) return;
  const auto* windowless = dynamic_cast<const WindowlessControl*>(control);
  const QtCursor* pointer = windowless != nullptr ? windowless->Pointer() : nullptr;
  if (pointer != nullptr) {
    widget_->setCursor(pointer->Shape());
  } else {
    widget_->unsetCursor();
  }
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

void ContainerWidget::mousePressEvent(QMouseEvent* event) { core_.Router().Press(ToMouseEvent(*event)); }

void ContainerWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // A second press is a press like the first.
  mousePressEvent(event);
}

void ContainerWidget::mouseMoveEvent(QMouseEvent* event) { core_.Router().Move(ToMouseEvent(*event)); }

void ContainerWidget::mouseReleaseEvent(QMouseEvent* event) { core_.Router().Release(ToMouseEvent(*event)); }

}  // namespace toolkit::qt
