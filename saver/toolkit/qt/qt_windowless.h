#pragma once
// What the windowless controls (labels, images, shapes) share: bounds,
// visibility and enabled state kept by the control, drawn by its container
// over the container's surface, mouse events routed to it by the container.
#include <QRect>

#include "saver/toolkit/common/windowless_router.h"
#include "saver/toolkit/toolkit.h"

class QPainter;

namespace toolkit::qt {

class ContainerCore;
class QtCursor;

class WindowlessControl : public WindowlessTarget {
 public:
  explicit WindowlessControl(ContainerCore& container) : container_(container) {}

  virtual void Paint(QPainter& painter) const = 0;
  // Null: the control takes no mouse events and is not hit.
  virtual MouseHandlers* Handlers() { return nullptr; }
  virtual const QtCursor* Pointer() const { return nullptr; }

  QRect Rect() const { return QRect(bounds_.x, bounds_.y, bounds_.width, bounds_.height); }
  bool Shown() const { return visible_; }

  PixelRect TargetBounds() const override { return bounds_; }
  bool TargetShown() const override { return visible_; }
  MouseHandlers* TargetHandlers() override { return enabled_ ? Handlers() : nullptr; }

 protected:
  void Place(const PixelRect& bounds);
  void Show(bool visible);
  void Enable(bool enabled);
  // Asks the container to repaint the control's old and new places.
  void Repaint(const QRect& before);
  int Dpi() const;

  ContainerCore& container_;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

// The Control part of a windowless control.
template <class Interface>
class Windowless : public Interface, public WindowlessControl {
 public:
  explicit Windowless(ContainerCore& container) : WindowlessControl(container) {}
  void Move(const PixelRect& bounds) override { Place(bounds); }
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override { Show(visible); }
  void SetEnabled(bool enabled) override { Enable(enabled); }
  bool Enabled() const override { return enabled_; }
};

}  // namespace toolkit::qt
