#pragma once
// What every container of the Win32 backend shares (a form, a picture box,
// a user control): its window, its retained surface, the controls it owns,
// the painting of the surface with the windowless controls over it, and
// the mouse routed to those controls.
#include "saver/toolkit/win32/windows_api.h"

#include <functional>
#include <memory>
#include <vector>

#include "saver/toolkit/common/windowless_router.h"
#include "saver/toolkit/toolkit.h"
#include "saver/toolkit/win32/surface.h"

namespace toolkit::win32 {

class Win32Application;
class Win32ComboBox;
class Win32PictureBox;
class Win32UserControl;

// A control without a window: the container draws it and routes the mouse to it.
class WindowlessItem : public WindowlessTarget {
 public:
  // In the container's coordinates, over what lies below.
  virtual void Draw(HDC dc) const = 0;
  // Labels and images take the mouse while enabled; shapes never do.
  MouseHandlers* TargetHandlers() override { return nullptr; }
  virtual HCURSOR Pointer() const { return nullptr; }
};

// A control with a window of its own, made when its container's window is.
class WindowedChild {
 public:
  virtual ~WindowedChild() = default;
  virtual void CreateIn(HWND parent) = 0;
  virtual HWND Hwnd() const = 0;
  // The windows the keyboard focus may go to, in creation order.
  virtual void CollectTabStops(std::vector<HWND>& stops) const;
};

class ContainerCore {
 public:
  ContainerCore(Win32Application& app, Colour backColour);
  ~ContainerCore();
  ContainerCore(const ContainerCore&) = delete;
  ContainerCore& operator=(const ContainerCore&) = delete;

  Win32Application& App() const { return app_; }
  HWND Hwnd() const { return hwnd_; }
  void Attach(HWND window) { hwnd_ = window; }
  void Detach() { hwnd_ = nullptr; }
  // Once the container's window exists: the windows of the controls added so far.
  void CreateChildren();

  Win32Surface& GetSurface() { return surface_; }
  void SetBackColour(Colour colour);

  Label& AddLabel();
  Image& AddImage();
  Shape& AddShape();
  ComboBox& AddComboBox();
  PictureBox& AddPictureBox();
  UserControl& AddUserControl(UserControlEvents& events);

  // Painting, the mouse, pointers and control colours; true when handled.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The retained image (or what shows through) and the windowless controls
  // over it, for `area` in this container's coordinates.
  void Compose(HDC dc, const RECT& area) const;
  void InvalidateArea(const PixelRect& area) const;
  void CollectTabStops(std::vector<HWND>& stops) const;
  // The container is going: its user controls (and those of its picture
  // boxes) raise no more events, whatever their windows hear while they go.
  void Silence();

  // Mouse events that no windowless control takes go here (user controls).
  std::function<void(MouseAction, const MouseEvent&)> ownMouse;
  // Set: the surface is not shown and this paints what lies behind instead.
  std::function<void(HDC, const RECT&)> paintBehind;

 private:
  template <class T, class... Args>
  T& Own(Args&&... args);
  void Paint();
  void SurfaceChanged(bool now) const;
  void MouseButton(int button, bool down, WPARAM wParam, LPARAM lParam);
  bool SetPointer(WPARAM wParam, LPARAM lParam);

  Win32Application& app_;
  HWND hwnd_ = nullptr;
  Win32Surface surface_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<WindowlessItem*> windowless_;  // drawn in this order, the last on top
  std::vector<WindowedChild*> windowed_;
  std::vector<Win32ComboBox*> comboBoxes_;
  std::vector<Win32UserControl*> userControls_;
  std::vector<Win32PictureBox*> pictureBoxes_;
  WindowlessRouter router_;
};

// The Container methods of a form, picture box or user control, over its core.
template <class Interface>
class ContainerBase : public Interface {
 public:
  ContainerBase(Win32Application& app, Colour backColour) : core_(app, backColour) {}
  Surface& GetSurface() override { return core_.GetSurface(); }
  void SetBackColour(Colour colour) override { core_.SetBackColour(colour); }
  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(core_.Hwnd()); }
  Label& AddLabel() override { return core_.AddLabel(); }
  Image& AddImage() override { return core_.AddImage(); }
  Shape& AddShape() override { return core_.AddShape(); }
  ComboBox& AddComboBox() override { return core_.AddComboBox(); }
  PictureBox& AddPictureBox() override { return core_.AddPictureBox(); }
  UserControl& AddUserControl(UserControlEvents& events) override {
    return core_.AddUserControl(events);
  }
  ContainerCore& Core() { return core_; }

 protected:
  ContainerCore core_;
};

// Shift state bits of a mouse message.
int ShiftStateOf(WPARAM wParam);
// Button bits of the buttons a mouse message says are held.
int HeldButtonsOf(WPARAM wParam);

}  // namespace toolkit::win32
