#include "saver/toolkit/common/windowless_router.h"

#include <algorithm>

namespace toolkit {
namespace {

bool Contains(const PixelRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

// Program code runs inside the system's event dispatch: nothing it throws
// may cross it. A failing handler is skipped, as the program's
// resume-on-error handlers expect.
template <class Handler, class... Args>
void Run(const Handler& handler, Args&&... args) {
  if (!handler) return;
  try {
    handler(std::forward<Args>(args)...);
  } catch (...) {
  }
}

}  // namespace

void WindowlessRouter::Remove(WindowlessTarget& target) {
  std::erase(targets_, &target);
  if (target_ == &target) target_ = nullptr;
  if (hovered_ == &target) hovered_ = nullptr;
}

void WindowlessRouter::Reset() {
  held_ = 0;
  target_ = nullptr;
  hovered_ = nullptr;
}

WindowlessTarget* WindowlessRouter::HitTest(Point at) const {
  for (auto it = targets_.rbegin(); it != targets_.rend(); ++it) {
    WindowlessTarget* target = *it;
    if (target->TargetShown() && target->TargetHandlers() != nullptr &&
        Contains(target->TargetBounds(), at.x, at.y))
      return target;
  }
  return nullptr;
}

void WindowlessRouter::Deliver(MouseAction action, MouseEvent event, WindowlessTarget* target) {
  if (target == nullptr) {
    Run(hooks_.own, action, event);
    return;
  }
  // Disabled while it holds the mouse: the events are nobody's.
  MouseHandlers* handlers = target->TargetHandlers();
  if (handlers == nullptr) return;
  const PixelRect bounds = target->TargetBounds();
  event.x -= bounds.x;
  event.y -= bounds.y;
  Run(action == MouseAction::Down ? handlers->down : action == MouseAction::Move ? handlers->move : handlers->up,
      event);
}

void WindowlessRouter::Press(const MouseEvent& event) {
  if (held_ == 0) {
    target_ = HitTest({event.x, event.y});
    if (hooks_.capture) hooks_.capture(true);
  }
  held_ |= event.button;
  Deliver(MouseAction::Down, event, target_);
}

void WindowlessRouter::Release(const MouseEvent& event) {
  const bool pressedHere = (held_ & event.button) != 0;
  WindowlessTarget* target = pressedHere ? target_ : nullptr;
  held_ &= ~event.button;
  Deliver(MouseAction::Up, event, target);
  if (pressedHere && held_ == 0 && target != nullptr && Contains(target->TargetBounds(), event.x, event.y)) {
    if (MouseHandlers* handlers = target->TargetHandlers()) Run(handlers->click);
  }
  if (pressedHere && held_ == 0) {
    target_ = nullptr;
    if (hooks_.capture) hooks_.capture(false);
  }
}

void WindowlessRouter::Move(const MouseEvent& event) {
  if (held_ != 0) {
    Deliver(MouseAction::Move, event, target_);
    return;
  }
  WindowlessTarget* over = HitTest({event.x, event.y});
  if (over != hovered_) {
    hovered_ = over;
    if (hooks_.hover) hooks_.hover(over);
  }
  Deliver(MouseAction::Move, event, over);
}

}  // namespace toolkit
