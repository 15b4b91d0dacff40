#pragma once
// The Control methods of a windowless control: geometry and flags kept here,
// every change repainted by its container.
#include "saver/toolkit/win32/container_core.h"

namespace toolkit::win32 {

inline RECT ToRect(const PixelRect& r) { return RECT{r.x, r.y, r.x + r.width, r.y + r.height}; }

template <class Interface>
class WindowlessControl : public Interface, public WindowlessItem {
 public:
  explicit WindowlessControl(ContainerCore& owner) : owner_(owner) {}

  void Move(const PixelRect& bounds) override {
    const PixelRect before = bounds_;
    bounds_ = bounds;
    owner_.InvalidateArea(before);
    owner_.InvalidateArea(bounds_);
  }
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override {
    if (visible == visible_) return;
    visible_ = visible;
    owner_.InvalidateArea(bounds_);
  }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    owner_.InvalidateArea(bounds_);
  }
  bool Enabled() const override { return enabled_; }

  PixelRect TargetBounds() const override { return bounds_; }
  bool TargetShown() const override { return visible_; }

 protected:
  void Changed() const { owner_.InvalidateArea(bounds_); }

  ContainerCore& owner_;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

}  // namespace toolkit::win32
