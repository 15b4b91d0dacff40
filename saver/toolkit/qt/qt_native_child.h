#pragma once
// The Control part of the controls that have a native window of their own
// (combo box, picture box, user control). The control keeps its properties
// itself, so it answers and takes settings also when its window is gone
// (form unloaded) or never came (no display).
#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

class NativeControl {
 public:
  virtual ~NativeControl() = default;
  virtual QWidget* NativeWidget() const = 0;
};

template <class Interface>
class NativeChild : public Interface, public NativeControl {
 public:
  ~NativeChild() override { delete widget_.data(); }

  void Move(const PixelRect& bounds) override {
    bounds_ = bounds;
    if (widget_) {
      widget_->setGeometry(bounds.x, bounds.y, std::max(bounds.width, 0),
                           std::max(bounds.height, 0));
    }
    Moved();
  }
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override {
    visible_ = visible;
    if (widget_) widget_->setVisible(visible);
  }
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
  }
  bool Enabled() const override { return enabled_; }
  QWidget* NativeWidget() const override { return widget_.data(); }

 protected:
  // Takes the control's window: a native child window of the container,
  // created at once when the container's window exists.
  void Adopt(QWidget* widget) {
    widget_ = widget;
    if (!widget_) return;
    // Not Qt's default size: the control is as large as it was made, 0 x 0
    // until it is first moved.
    widget_->setGeometry(bounds_.x, bounds_.y, std::max(bounds_.width, 0), std::max(bounds_.height, 0));
    widget_->setAttribute(Qt::WA_NativeWindow);
    widget_->setVisible(visible_);
    widget_->setEnabled(enabled_);
    if (QWidget* parent = widget_->parentWidget();
        parent != nullptr && parent->testAttribute(Qt::WA_WState_Created)) {
      widget_->winId();
    }
  }
  WindowHandle NativeHandle() const {
    return widget_ && widget_->testAttribute(Qt::WA_WState_Created)
               ? static_cast<WindowHandle>(widget_->winId())
               : 0;
  }
  // After every Move: the size may have changed.
  virtual void Moved() {}

  QPointer<QWidget> widget_;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

}  // namespace toolkit::qt
