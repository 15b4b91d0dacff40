#pragma once
// What forms, picture boxes and user controls share as containers: the
// retained surface, the controls they hold, and the drawing and mouse
// routing of the windowless controls among them.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "saver/toolkit/common/windowless_router.h"
#include "saver/toolkit/qt/qt_surface.h"
#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

class WindowlessControl;
class ContainerWidget;

class ContainerCore {
 public:
  ContainerCore();
  ~ContainerCore();
  ContainerCore(const ContainerCore&) = delete;
  ContainerCore& operator=(const ContainerCore&) = delete;

  // The window that shows the container; null without one.
  void Attach(ContainerWidget* widget);
  ContainerWidget* Widget() const { return widget_.data(); }
  // Deletes the window (and the windows of the controls) now.
  void DropWindow();
  // The form unloads: no timer of a control ticks and no control event
  // reaches the program from here on.
  void Shutdown();

  RetainedSurface& Surface() { return surface_; }
  WindowHandle Handle() const;
  void SetTransparent(bool transparent);
  bool Transparent() const { return transparent_; }

  Label& AddLabel();
  Image& AddImage();
  Shape& AddShape();
  ComboBox& AddComboBox();
  PictureBox& AddPictureBox();
  UserControl& AddUserControl(UserControlEvents& events);

  // For the windowless controls.
  void Invalidate(const QRect& area);
  int Dpi() const;

  // For the window.
  void Paint(QPainter& painter, const QRect& area) const;
  void ClientResized(QSize size) { surface_.SetClientSize(Size{size.width(), size.height()}); }
  WindowlessRouter& Router() { return router_; }

 private:
  template <class T, class... Args>
  T& Keep(Args&&... args);
  void ShowPointerOf(const WindowlessTarget* control);

  QPointer<ContainerWidget> widget_;
  RetainedSurface surface_;
  bool transparent_ = false;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<WindowlessControl*> windowless_;  // in drawing order
  WindowlessRouter router_;
};

// The window of a container: paints the surface and the windowless controls,
// routes the mouse. Subclasses add what a form or user control does more.
class ContainerWidget : public QWidget {
 public:
  ContainerWidget(ContainerCore& core, QWidget* parent);
  ContainerCore& Core() const { return core_; }
  // The container's own mouse events, where no windowless control took them.
  virtual void OwnMouse(MouseAction, const MouseEvent&) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  virtual void Resized() {}

 private:
  ContainerCore& core_;
};

// The Container part of a form, picture box or user control.
template <class Interface>
class ContainerOf : public Interface {
 public:
  ContainerOf() = default;
  toolkit::Surface& GetSurface() override {
    EnsureWindow();  // drawing text needs the GUI's fonts
    return core_.Surface();
  }
  void SetBackColour(Colour colour) override {
    EnsureWindow();
    core_.Surface().SetBackColour(colour);
  }
  Label& AddLabel() override {
    EnsureWindow();
    return core_.AddLabel();
  }
  Image& AddImage() override {
    EnsureWindow();
    return core_.AddImage();
  }
  Shape& AddShape() override {
    EnsureWindow();
    return core_.AddShape();
  }
  ComboBox& AddComboBox() override {
    EnsureWindow();
    return core_.AddComboBox();
  }
  PictureBox& AddPictureBox() override {
    EnsureWindow();
    return core_.AddPictureBox();
  }
  UserControl& AddUserControl(UserControlEvents& events) override {
    EnsureWindow();
    return core_.AddUserControl(events);
  }
  ContainerCore& Core() { return core_; }

 protected:
  // Before anything that needs the container's window: a form may make it
  // late, once Qt's GUI has started.
  virtual void EnsureWindow() {}

  ContainerCore core_;
};

}  // namespace toolkit::qt
