#pragma once
// The mouse among a container's windowless controls (labels, images), the
// same on every backend. The backend feeds the container's native mouse
// events in its own coordinates; here it is decided which control hears
// them:
//   - the topmost shown control that takes the mouse is hit (shapes and
//     disabled controls let it through to what lies below);
//   - the control under the first press keeps the mouse until the last
//     button is up, wherever the pointer goes; a press on the container
//     itself keeps it for the container;
//   - a release completes a click when it is the last button up, over the
//     control the press went down on; a release whose press came elsewhere
//     is the container's own and completes nothing;
//   - with no button held, the control under the pointer owns the pointer
//     shape (enter and leave).
#include <functional>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace toolkit {

// A windowless control as the router sees it.
class WindowlessTarget {
 public:
  virtual ~WindowlessTarget() = default;
  // In the container's coordinates.
  virtual PixelRect TargetBounds() const = 0;
  virtual bool TargetShown() const = 0;
  // Null while the control takes no mouse (disabled, or never: a shape).
  virtual MouseHandlers* TargetHandlers() = 0;
};

enum class MouseAction { Down, Move, Up };

class WindowlessRouter {
 public:
  struct Hooks {
    // The container's own events: nothing windowless took them.
    std::function<void(MouseAction, const MouseEvent&)> own;
    // The control under the pointer changed (null: the container).
    std::function<void(WindowlessTarget*)> hover;
    // The first button went down (true) or the last came up (false).
    std::function<void(bool)> capture;
  };

  WindowlessRouter() = default;
  explicit WindowlessRouter(Hooks hooks) : hooks_(std::move(hooks)) {}
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  // Later controls lie on top of earlier ones.
  void Add(WindowlessTarget& target) { targets_.push_back(&target); }
  void Remove(WindowlessTarget& target);
  // The window went, or another window took the mouse: nothing is held.
  void Reset();

  WindowlessTarget* HitTest(Point at) const;
  WindowlessTarget* Hovered() const { return hovered_; }
  bool Held() const { return held_ != 0; }

  // `event.button` is the button that changed; x and y are the container's.
  void Press(const MouseEvent& event);
  void Release(const MouseEvent& event);
  // `event.button` holds the buttons the system says are down.
  void Move(const MouseEvent& event);

 private:
  void Deliver(MouseAction action, MouseEvent event, WindowlessTarget* target);

  Hooks hooks_;
  std::vector<WindowlessTarget*> targets_;
  int held_ = 0;  // buttons that went down in this container
  WindowlessTarget* target_ = nullptr;  // who has them
  WindowlessTarget* hovered_ = nullptr;
};

}  // namespace toolkit
