#pragma once
// A form: a top-level window of the backend's own class, hidden until
// shown, that holds a retained surface, controls and timers.
#include <memory>
#include <optional>
#include <vector>

#include "saver/toolkit/common/form_life_cycle.h"
#include "saver/toolkit/win32/container_core.h"
#include "saver/toolkit/win32/timer.h"
#include "saver/toolkit/win32/window_class.h"

namespace toolkit::win32 {

class Win32Form final : public ContainerBase<Form>, public MessageTarget {
 public:
  Win32Form(Win32Application& app, FormEvents& events);
  ~Win32Form() override;

  void SetBorderStyle(BorderStyle style) override { border_ = style; }
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
  void SetTabOrder(const std::vector<Control*>& controls) override { tabOrder_ = controls; }

  void Attach(HWND window) override { core_.Attach(window); }
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Detach() override { core_.Detach(); }

  HWND Hwnd() const { return core_.Hwnd(); }
  // The application is going before this form: nothing more is reported to it.
  void ForgetApplication() { appGone_ = true; }
  bool IsTopLevel() const;
  // Whether the window is this form's or inside it.
  bool Holds(HWND window) const;
  // Tab and Shift+Tab: the next control of the tab order that can take the
  // focus gets it. False when the form has no such control.
  bool MoveFocus(bool backwards);
  // The foreign window it was put in is still there, else the form unloads.
  void WatchHost();

 private:
  DWORD Style() const;
  void ApplyIcon();
  Size FrameExtra() const;
  std::vector<HWND> TabStops() const;
  void FocusFirst();
  bool MakeWindow();
  void DropWindow();
  // QueryUnload, Unload, then the window goes (unless it is going already).
  void FinishUnload(bool destroyWindow);
  void StopHostWatch();
  void RunModal();
  void EndModal();

  Win32Application& app_;
  FormEvents& events_;
  BorderStyle border_ = BorderStyle::FixedSingle;
  std::string caption_;
  PictureRef icon_;
  Size clientSize_{320, 240};
  std::optional<Point> position_;
  bool destroyOnUnload_ = true;
  bool silentDestroy_ = false;
  bool appGone_ = false;
  bool shown_ = false;  // shown since its Load
  bool modal_ = false;
  std::vector<HWND> disabledForModal_;
  TimerSet timers_;
  std::vector<Control*> tabOrder_;
  HWND lastFocus_ = nullptr;
  HWND host_ = nullptr;  // the foreign window the form was put in
  UINT_PTR hostWatch_ = 0;
  FormLifeCycle lifeCycle_;
};

}  // namespace toolkit::win32
