#include "saver/toolkit/qt/qt_application.h"

#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QCursor>
#include <QMessageBox>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "saver/common/program_folder.h"
#include "saver/toolkit/posix/spawn.h"
#include "saver/toolkit/qt/qt_font.h"
#include "saver/toolkit/qt/qt_form.h"
#include "saver/toolkit/qt/qt_open_file.h"
#include "saver/toolkit/qt/qt_picture.h"
#include "saver/toolkit/qt/qt_process.h"
#include "saver/toolkit/qt/qt_text.h"
#include "saver/toolkit/qt/qt_window_at.h"
#include "saver/toolkit/x11/claim.h"
#include "saver/toolkit/x11/connection.h"
#include "saver/toolkit/x11/display_mode.h"
#include "saver/toolkit/x11/pointer_hiding.h"
#include "saver/toolkit/x11/screen_query.h"
#include "x11/window_lookup.h"
#include "saver/toolkit/x11/zoom_outline.h"

namespace toolkit::qt {
namespace {

// Qt ends the process when its xcb platform finds no display; find out first.
bool PlatformIsX() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return platform == nullptr || *platform == '\0' || std::string_view(platform).rfind("xcb", 0) == 0;
}

// Without a session bus, D-Bus would start one through dbus-launch for Qt's
// accessibility bridge when the first window comes: tens of milliseconds at
// best, and seconds of a blocked event loop (a termination signal unread)
// at worst. Where the session has no bus, there is none to start.
void NoBusToStart() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) return;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
    if (access((std::string(runtime) + "/bus").c_str(), F_OK) == 0) return;
  }
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

// ShellExecute's answers: above 32 is success.
constexpr std::int32_t kShellStarted = 42;
constexpr std::int32_t kShellFileNotFound = 2;

}  // namespace

QtApplication::QtApplication(int& argc, char** argv) : programName_(argc > 0 ? argv[0] : nullptr) {
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine_ += ' ';
    commandLine_ += argv[i];
  }
}

QtApplication::~QtApplication() {
  // Forms may outlive us (held by the program); their windows may not
  // outlive QApplication.
  for (QtForm* form : std::vector<QtForm*>(forms_)) form->Orphan();
  forms_.clear();
  loaded_.clear();
  signals_.Uninstall();
  if (gui_ && windowGone_) gui_->removeNativeEventFilter(windowGone_.get());
  gui_.reset();
  x11::CloseDisplay(display_);
}

std::string QtApplication::ProgramFolder() const { return common::ProgramFolder(); }

Display* QtApplication::AnyDisplay() const {
  if (!displayTried_) {
    displayTried_ = true;
    display_ = x11::OpenDisplay();
  }
  return display_;
}

Display* QtApplication::XDisplay() const { return PlatformIsX() ? AnyDisplay() : nullptr; }

QApplication* QtApplication::Gui() const {
  if (!gui_ && !guiFailed_) {
    if (PlatformIsX() && AnyDisplay() == nullptr) {
      guiFailed_ = true;
    } else {
      // Qt takes options such as -display or -platform from its argument
      // list; the saver's command line is its own, so Qt sees only the name.
      // Where nothing else is asked for, X11: the preview and the title
      // lookup need X window ids, whatever a desktop session would pick
      // (said here, not in the environment the renderer inherits).
      static char fallbackName[] = "Tovarel.scr";
      static char platformOption[] = "-platform";
      static char xcb[] = "xcb";
      static char* guiArgv[] = {programName_ != nullptr ? programName_ : fallbackName, platformOption, xcb,
                                nullptr};
      static int guiArgc = 3;
      if (!PlatformIsX()) {
        guiArgv[1] = nullptr;
        guiArgc = 1;
      }
      NoBusToStart();
      gui_ = std::make_unique<QApplication>(guiArgc, guiArgv);
      QApplication::setQuitOnLastWindowClosed(false);
      windowGone_ = std::make_unique<WindowGoneWatch>([this](unsigned long window) { WindowGone(window); });
      gui_->installNativeEventFilter(windowGone_.get());
      // Qt's xcb platform installs its own Xlib error handler.
      if (display_ != nullptr) x11::InstallErrorHandler();
      GuiStarting();
    }
  }
  return gui_.get();
}

bool QtApplication::GuiPossible() const {
  if (gui_) return true;
  return !guiFailed_ && (!PlatformIsX() || AnyDisplay() != nullptr);
}

void QtApplication::WhenGuiStarted(std::weak_ptr<void> guard, std::function<void()> step) {
  if (gui_) {
    step();
    return;
  }
  afterGuiStart_.emplace_back(std::move(guard), std::move(step));
}

// What waited for the event loop's machinery: the signal pipe's reader, the
// windows of forms loaded before, the watches of started programs.
void QtApplication::GuiStarting() const {
  signals_.Listen();
  for (QtForm* form : std::vector<QtForm*>(loaded_)) form->MakeOwedWindow();
  auto steps = std::move(afterGuiStart_);
  afterGuiStart_.clear();
  for (auto& [guard, step] : steps) {
    if (!guard.expired()) step();
  }
}

void QtApplication::SyncWindowSystem() const {
  if (gui_ == nullptr) return;
  if (auto* x11 = gui_->nativeInterface<QNativeInterface::QX11Application>()) {
    x11::SyncDisplay(x11->display());
  }
}

bool QtApplication::WindowExists(std::string_view title) {
  return ::x11::WindowWithTitleExists(AnyDisplay(), title);
}

void QtApplication::ShowCursor(bool show) {
  const int before = cursorCount_;
  cursorCount_ += show ? 1 : -1;
  if (before >= 0 && cursorCount_ < 0) x11::HidePointer(XDisplay());
  if (before < 0 && cursorCount_ >= 0) x11::ShowPointer(XDisplay());
}

void QtApplication::ShowMessageBox(std::string_view text, std::string_view caption) {
  if (Gui() == nullptr) return;  // nowhere to show it
  QMessageBox box;
  box.setWindowTitle(FromUtf8(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(FromUtf8(text));
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void QtApplication::EndProgram() {
  std::fflush(nullptr);
  x11::FlushDisplay(display_);
  _exit(0);
}

int QtApplication::RunEventLoop() {
  if (loaded_.empty() || Gui() == nullptr) return 0;
  inEventLoop_ = true;
  const int code = QApplication::exec();
  inEventLoop_ = false;
  return code;
}

std::unique_ptr<Form> QtApplication::CreateForm(FormEvents& events) {
  return std::make_unique<QtForm>(*this, events);
}

void QtApplication::FormCreated(QtForm& form) { forms_.push_back(&form); }

void QtApplication::FormDestroyed(QtForm& form) {
  std::erase(forms_, &form);
  std::erase(loaded_, &form);
}

void QtApplication::FormLoaded(QtForm& form) {
  loaded_.push_back(&form);
  signals_.Install([this](int signal) { TerminationSignal(signal); });
}

void QtApplication::FormUnloaded(QtForm& form) {
  std::erase(loaded_, &form);
  if (loaded_.empty() && inEventLoop_) QApplication::exit(0);
}

void QtApplication::TerminationSignal(int signal) {
  if (loaded_.empty()) SignalWatch::DieOf(signal);
  // The last loaded first, as a session's end closes them.
  for (QtForm* form : std::vector<QtForm*>(loaded_.rbegin(), loaded_.rend())) {
    if (std::find(loaded_.begin(), loaded_.end(), form) != loaded_.end()) form->Unload();
  }
}

// A form whose window another client destroyed ends as its close box ends it.
void QtApplication::WindowGone(unsigned long window) const {
  for (QtForm* form : std::vector<QtForm*>(loaded_)) {
    if (std::find(loaded_.begin(), loaded_.end(), form) != loaded_.end() && form->Handle() == window) {
      form->CloseRequested();
    }
  }
}

// 1440 / logical dots per inch: 15 at 96 dpi, also where no screen answers.
int QtApplication::TwipsPerPixelX() const {
  const QScreen* screen = Gui() != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchX()) : 96;
  return 1440 / (dpi > 0 ? dpi : 96);
}

int QtApplication::TwipsPerPixelY() const {
  Gui();  // the screen comes with the GUI application
  return 1440 / ScreenDpi();
}

Size QtApplication::ScreenSize() const {
  const QScreen* screen = Gui() != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  if (screen == nullptr) return Size{};
  return Size{screen->size().width(), screen->size().height()};
}

std::optional<ScreenRect> QtApplication::WindowRect(WindowHandle window) {
  // Our own windows as Qt knows them: the X server may not have seen the
  // latest move yet, Qt's requests wait in its buffer until the event loop.
  // A form's frame counts before it is first shown.
  for (QtForm* form : forms_) {
    if (form->Handle() != window) continue;
    if (std::optional<QRect> rect = form->OuterRect()) {
      return ScreenRect{rect->left(), rect->top(), rect->left() + rect->width(), rect->top() + rect->height()};
    }
  }
  if (Gui() != nullptr) {
    if (QWidget* widget = QWidget::find(static_cast<WId>(window));
        widget != nullptr && (!widget->isWindow() || widget->windowHandle() == nullptr ||
                              widget->windowHandle()->parent() == nullptr)) {
      const QRect rect = widget->isWindow()
                             ? widget->frameGeometry()
                             : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
      return ScreenRect{rect.left(), rect.top(), rect.left() + rect.width(),
                        rect.top() + rect.height()};
    }
  }
  std::optional<x11::RootRect> rect = x11::OuterRect(XDisplay(), window);
  if (!rect) return std::nullopt;
  return ScreenRect{rect->left, rect->top, rect->right, rect->bottom};
}

bool QtApplication::PointerFresh() const {
  return pointerThisPass_ && std::chrono::steady_clock::now() - pointerTime_ < std::chrono::milliseconds(20);
}

// One reading per pass of the event loop: the buttons' hover timers tick in
// the same pass and each asks.
std::optional<Point> QtApplication::CursorPosition() {
  if (!PointerFresh()) {
    pointer_ = x11::QueryPointer(XDisplay());
    pointerTime_ = std::chrono::steady_clock::now();
    if (gui_ != nullptr && !pointerThisPass_) {
      pointerThisPass_ = true;
      QMetaObject::invokeMethod(gui_.get(), [this] { pointerThisPass_ = false; }, Qt::QueuedConnection);
    }
  }
  if (!pointer_) return std::nullopt;
  return Point{pointer_->at.x, pointer_->at.y};
}

// The hover timers ask ten times a second each, for the pointer and then
// for the window there: this pass's pointer query has named the top-level
// window already, and below a window of ours Qt knows the rest. Only other
// programs' windows (a window manager's frame) cost a round trip a level.
WindowHandle QtApplication::WindowAtPoint(Point screen) {
  Display* display = XDisplay();
  if (display == nullptr) return 0;
  const bool justAsked = PointerFresh() && pointer_ && pointer_->at.x == screen.x && pointer_->at.y == screen.y;
  x11::WindowId current = justAsked ? pointer_->topLevel : x11::TopLevelAt(display, screen.x, screen.y);
  if (current == 0) return x11::RootOf(display);
  for (int depth = 0; depth < 64; ++depth) {
    QWidget* ours = gui_ != nullptr ? QWidget::find(static_cast<WId>(current)) : nullptr;
    if (ours != nullptr && ours->isWindow()) return DeepestNativeWindow(ours, QPoint(screen.x, screen.y));
    const x11::WindowId child = x11::ChildAt(display, current, screen.x, screen.y);
    if (child == 0) break;
    current = child;
  }
  return current;
}

void QtApplication::ZoomRects(WindowHandle, const ScreenRect& from, const ScreenRect& to) {
  x11::DrawZoom(XDisplay(), x11::RootRect{from.left, from.top, from.right, from.bottom},
                x11::RootRect{to.left, to.top, to.right, to.bottom});
}

PictureRef QtApplication::LoadPicture(std::span<const unsigned char> data) {
  return DecodePicture(data);
}

CursorRef QtApplication::LoadCursor(std::span<const unsigned char> data) {
  return DecodeCursor(data);
}

void QtApplication::SetBusyPointer(bool busy) {
  if (busy == busy_ || Gui() == nullptr) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

std::unique_ptr<Process> QtApplication::StartProgram(const std::string& path) {
  std::unique_ptr<posix::ChildProcess> child = posix::StartProgram(path);
  if (!child) return nullptr;
  return std::make_unique<QtProcess>(std::move(child), *this);
}

bool QtApplication::Claim(std::string_view name) { return x11::ClaimSelection(XDisplay(), name); }

void QtApplication::NoteDisplayMode() { notedMode_ = ::x11::ReadDesktopMode(XDisplay()); }

void QtApplication::RestoreDisplayMode(Size switched) {
  if (notedMode_) x11::RestoreDisplayMode(XDisplay(), *notedMode_, switched.width, switched.height);
}

std::int32_t QtApplication::OpenUrl(WindowHandle, std::string_view url) {
  // The desktop's handler, by its own program, not waited for. An address
  // that looks like an option is not passed on.
  if (url.empty() || url.front() == '-') return kShellFileNotFound;
  return posix::StartDetached("xdg-open", {std::string(url)}) ? kShellStarted : kShellFileNotFound;
}

OpenFileResult QtApplication::ChooseOpenFile(const OpenFileRequest& request) {
  if (Gui() == nullptr) return {};
  QWidget* owner = request.owner != 0 ? QWidget::find(static_cast<WId>(request.owner)) : nullptr;
  return RunOpenFileDialog(request, owner);
}

}  // namespace toolkit::qt
