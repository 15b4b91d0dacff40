#pragma once
// A form: a top-level widget whose native window is made at Load, hidden,
// so that other processes find it by its title before it is ever shown. A
// form loaded before Qt's GUI has started (a run's, whose Load starts the
// renderer) gets its window when the GUI starts: at the first thing that
// needs it, or the event loop.
#include <QEventLoop>
#include <QMargins>
#include <QRect>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "saver/toolkit/common/form_life_cycle.h"
#include "saver/toolkit/qt/qt_container.h"
#include "saver/toolkit/qt/qt_embedding.h"
#include "saver/toolkit/qt/qt_timer.h"

namespace toolkit::qt {

class QtApplication;

class QtForm final : public ContainerOf<Form> {
 public:
  QtForm(QtApplication& app, FormEvents& events);
  ~QtForm() override;

  WindowHandle Handle() const override;
  void SetBorderStyle(BorderStyle style) override;
  void SetCaption(std::string_view caption) override;
  std::string Caption() const override { return caption_; }
  void SetIcon(PictureRef icon) override;
  void SetClientSize(Size pixels) override;
  Size ClientSize() const override;
  void MoveWindow(const PixelRect& outer) override;
  Size OuterSize() const override;

  void Load() override;
  bool Loaded() const override { return lifeCycle_.Loaded(); }
  void Show(bool modal) override;
  void Hide() override;
  void Unload() override;

  bool SetChildStyle() override;
  bool SetParentWindow(WindowHandle parent) override;

  Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) override;
  void SetTabOrder(const std::vector<Control*>& controls) override;

  // From the window: the close box, and sizes the window system gave.
  void CloseRequested();
  void SizeMayHaveChanged();
  // The application is going: the window goes now, the form stays inert.
  void Orphan();
  // The GUI has started: a form loaded before gets its window now.
  void MakeOwedWindow();
  // The top-level window with its frame, in screen pixels; nothing for an
  // embedded or unloaded form.
  std::optional<QRect> OuterRect() const;

 private:
  void NewWindow();
  bool MakeWindow();
  void RealizeWindow();
  void EnsureWindow() override;
  void DropWindow();
  // The client size, as the window has it now.
  Size WindowSize();
  void ApplyFlags();
  bool Empty() const;
  QMargins FrameMargins() const;
  void FocusFirstInTabOrder();

  QtApplication* app_;
  FormEvents& events_;
  std::string caption_;
  BorderStyle border_ = BorderStyle::FixedSingle;
  Size clientSize_;
  PictureRef icon_;
  bool unloaded_ = false;  // its window is gone; a Load makes another
  bool windowOwed_ = false;  // loaded before the GUI started
  bool shown_ = false;  // between Show and Hide
  bool embedded_ = false;
  std::optional<QMargins> announcedFrame_;
  std::vector<std::unique_ptr<QtTimer>> timers_;
  std::vector<QPointer<QWidget>> tabOrder_;
  ForeignParent foreign_;
  QEventLoop* modalLoop_ = nullptr;
  FormLifeCycle lifeCycle_;
};

}  // namespace toolkit::qt
