#pragma once
// The toolkit on Qt 6 Widgets and Xlib. QApplication is made only when
// something needs it: a copy that ends at the single-copy check costs no
// more than one X connection.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saver/toolkit/qt/qt_signal_watch.h"
#include "saver/toolkit/qt/qt_window_gone.h"
#include "saver/toolkit/x11/display_mode.h"
#include "saver/toolkit/x11/screen_query.h"
#include "saver/toolkit/toolkit.h"

class QApplication;
typedef struct _XDisplay Display;

namespace toolkit::qt {

class QtForm;

class QtApplication final : public Application {
 public:
  QtApplication(int& argc, char** argv);
  ~QtApplication() override;
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  std::string CommandLine() const override { return commandLine_; }
  std::string ProgramFolder() const override;
  bool WindowExists(std::string_view title) override;
  bool Claim(std::string_view name) override;
  void ShowCursor(bool show) override;
  void ShowMessageBox(std::string_view text, std::string_view caption) override;
  void EndProgram() override;
  int RunEventLoop() override;

  std::unique_ptr<Form> CreateForm(FormEvents& events) override;
  int TwipsPerPixelX() const override;
  int TwipsPerPixelY() const override;
  Size ScreenSize() const override;
  std::optional<ScreenRect> WindowRect(WindowHandle window) override;
  std::optional<Point> CursorPosition() override;
  WindowHandle WindowAtPoint(Point screen) override;
  void ZoomRects(WindowHandle window, const ScreenRect& from, const ScreenRect& to) override;

  PictureRef LoadPicture(std::span<const unsigned char> data) override;
  CursorRef LoadCursor(std::span<const unsigned char> data) override;
  void SetBusyPointer(bool busy) override;
  std::unique_ptr<Process> StartProgram(const std::string& path) override;
  void NoteDisplayMode() override;
  void RestoreDisplayMode(Size switched) override;
  std::int32_t OpenUrl(WindowHandle owner, std::string_view url) override;
  OpenFileResult ChooseOpenFile(const OpenFileRequest& request) override;

  // The widgets application, made on first use; null when the platform is
  // X11 and no display can be reached.
  QApplication* Gui() const;
  bool GuiStarted() const { return gui_ != nullptr; }
  // Whether Gui() can make it: false where it failed or no display answers.
  bool GuiPossible() const;
  // Runs `step` once the GUI exists (at once if it does), unless `guard`
  // has expired by then. A run starts its renderer before Qt's start-up.
  void WhenGuiStarted(std::weak_ptr<void> guard, std::function<void()> step);
  // The program's own Xlib connection, for what Qt does not offer; null on
  // another platform (offscreen) or without a display.
  Display* XDisplay() const;
  bool XReady() const { return XDisplay() != nullptr; }
  // Has the X server do now what Qt has queued for it. Qt writes a window's
  // WM_NAME through its Xlib connection, which it flushes only later, and
  // other programs look for titles.
  void SyncWindowSystem() const;

  // The forms tell the application about themselves.
  void FormCreated(QtForm& form);
  void FormDestroyed(QtForm& form);
  void FormLoaded(QtForm& form);
  void FormUnloaded(QtForm& form);
  int LoadedFormCount() const { return static_cast<int>(loaded_.size()); }

 private:
  Display* AnyDisplay() const;
  void TerminationSignal(int signal);
  void WindowGone(unsigned long window) const;
  void GuiStarting() const;

  char* programName_;
  std::string commandLine_;
  mutable std::unique_ptr<QApplication> gui_;
  mutable bool guiFailed_ = false;
  mutable std::vector<std::pair<std::weak_ptr<void>, std::function<void()>>> afterGuiStart_;
  mutable Display* display_ = nullptr;
  mutable bool displayTried_ = false;
  // The last pointer query, when it was made, and whether the event loop
  // has passed since.
  bool PointerFresh() const;
  std::optional<x11::PointerQuery> pointer_;
  std::chrono::steady_clock::time_point pointerTime_;
  bool pointerThisPass_ = false;
  int cursorCount_ = 0;
  bool busy_ = false;
  bool inEventLoop_ = false;
  std::vector<QtForm*> forms_;
  std::vector<QtForm*> loaded_;  // in load order
  mutable SignalWatch signals_;
  std::optional<::x11::DisplayMode> notedMode_;
  mutable std::unique_ptr<WindowGoneWatch> windowGone_;
};

}  // namespace toolkit::qt
