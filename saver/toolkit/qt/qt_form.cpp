#include "saver/toolkit/qt/qt_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QPixmap>

#include "saver/toolkit/common/form_life_cycle.h"
#include "saver/toolkit/qt/qt_application.h"
#include "saver/toolkit/qt/qt_native_child.h"
#include "saver/toolkit/qt/qt_picture.h"
#include "saver/toolkit/qt/qt_text.h"
#include "x11/frame_extents.h"

namespace toolkit::qt {
namespace {

class FormWidget final : public ContainerWidget {
 public:
  explicit FormWidget(QtForm& owner) : ContainerWidget(owner.Core(), nullptr), owner_(owner) {
    setAttribute(Qt::WA_QuitOnClose, false);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The close box (or the session's end) unloads; Qt must not hide the
    // window on its own.
    event->ignore();
    owner_.CloseRequested();
  }
  void Resized() override { owner_.SizeMayHaveChanged(); }

 private:
  QtForm& owner_;
};

}  // namespace

QtForm::QtForm(QtApplication& app, FormEvents& events)
    : app_(&app),
      events_(events),
      lifeCycle_(events, {.makeWindow = [this] { return MakeWindow(); },
                          .dropWindow = [this] { DropWindow(); },
                          .raise = [](const char*, const std::function<void()>& handler) { Invoke(handler); },
                          .programEnded = {}}) {
  app_->FormCreated(*this);
}

// The widget comes with the first thing that needs it; without a display
// there is none, and the form stays inert.
void QtForm::EnsureWindow() {
  if (app_ == nullptr) return;
  if (windowOwed_) {
    app_->Gui();  // its start makes the owed windows
    return;
  }
  if (core_.Widget() == nullptr && !unloaded_ && app_->Gui() != nullptr) NewWindow();
}

// Each load has a window of its own; the one before went at the unload.
void QtForm::NewWindow() {
  auto* widget = new FormWidget(*this);
  core_.Attach(widget);
  ApplyFlags();
  widget->setWindowTitle(FromUtf8(caption_));
  if (icon_) SetIcon(icon_);
  embedded_ = false;
  announcedFrame_.reset();
}

QtForm::~QtForm() {
  core_.DropWindow();
  foreign_.Release();
  timers_.clear();
  if (app_ != nullptr) {
    if (Loaded()) app_->FormUnloaded(*this);
    app_->FormDestroyed(*this);
  }
}

void QtForm::Orphan() {
  for (auto& timer : timers_) timer->SetLive(false);
  core_.Shutdown();
  core_.DropWindow();
  foreign_.Release();
  lifeCycle_.Abandon();
  app_ = nullptr;
}

WindowHandle QtForm::Handle() const { return Loaded() ? core_.Handle() : 0; }

void QtForm::SetBorderStyle(BorderStyle style) {
  border_ = style;
  if (!Loaded()) ApplyFlags();
}

void QtForm::ApplyFlags() {
  QWidget* widget = core_.Widget();
  if (widget == nullptr) return;
  // Neither style lets the user resize; a single frame has the title bar
  // and the close box only.
  Qt::WindowFlags flags = Qt::Window;
  if (border_ == BorderStyle::None) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
  }
  widget->setWindowFlags(flags);
  widget->setFixedSize(std::max(clientSize_.width, 1), std::max(clientSize_.height, 1));
}

void QtForm::SetCaption(std::string_view caption) {
  caption_ = std::string(caption);
  if (QWidget* widget = core_.Widget()) widget->setWindowTitle(FromUtf8(caption));
  if (Loaded() && app_ != nullptr) app_->SyncWindowSystem();
}

void QtForm::SetIcon(PictureRef icon) {
  icon_ = icon;
  QWidget* widget = core_.Widget();
  const auto* picture = dynamic_cast<const QtPicture*>(icon.get());
  if (widget == nullptr) return;
  widget->setWindowIcon(picture != nullptr ? QIcon(QPixmap::fromImage(picture->Image())) : QIcon());
}

void QtForm::SetClientSize(Size pixels) {
  clientSize_ = Size{std::max(pixels.width, 0), std::max(pixels.height, 0)};
  QWidget* widget = core_.Widget();
  if (widget == nullptr) return;
  // X has no empty windows; the surface keeps the size asked for.
  widget->setFixedSize(std::max(clientSize_.width, 1), std::max(clientSize_.height, 1));
  if (Loaded() && shown_) widget->setVisible(!Empty());
  SizeMayHaveChanged();
}

// An empty window shows nothing on Windows; its 1-pixel stand-in here would.
bool QtForm::Empty() const { return clientSize_.width <= 0 || clientSize_.height <= 0; }

Size QtForm::ClientSize() const { return clientSize_; }

QMargins QtForm::FrameMargins() const {
  QWidget* widget = core_.Widget();
  if (widget == nullptr) return {};
  const QRect frame = widget->frameGeometry();
  const QRect client = widget->geometry();
  const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                       frame.bottom() - client.bottom());
  // Qt learns the frame only once the window is mapped; until then the one
  // the window manager announced stands.
  if (!known.isNull() || !announcedFrame_) return known;
  return *announcedFrame_;
}

void QtForm::MoveWindow(const PixelRect& outer) {
  EnsureWindow();
  QWidget* widget = core_.Widget();
  if (widget == nullptr) {
    clientSize_ = Size{std::max(outer.width, 0), std::max(outer.height, 0)};
    return;
  }
  const QMargins frame = FrameMargins();
  const bool frameKnownToQt = widget->frameGeometry() != widget->geometry();
  // Before the first mapping Qt places the client where the frame was
  // meant to be; the window manager then puts its frame around it.
  if (frameKnownToQt) widget->move(outer.x, outer.y);
  else widget->move(outer.x + frame.left(), outer.y + frame.top());
  SetClientSize(Size{outer.width - frame.left() - frame.right(), outer.height - frame.top() - frame.bottom()});
}

Size QtForm::OuterSize() const {
  const QMargins frame = FrameMargins();
  return Size{clientSize_.width + frame.left() + frame.right(), clientSize_.height + frame.top() + frame.bottom()};
}

std::optional<QRect> QtForm::OuterRect() const {
  QWidget* widget = core_.Widget();
  if (widget == nullptr || !Loaded() || embedded_) return std::nullopt;
  return widget->geometry().marginsAdded(FrameMargins());
}

Size QtForm::WindowSize() {
  QWidget* widget = core_.Widget();
  if (widget == nullptr) return clientSize_;
  // A window the window system sized differently counts; the 1-pixel
  // stand-in for an empty one does not.
  const QSize size = widget->size();
  if (size.width() != std::max(clientSize_.width, 1) || size.height() != std::max(clientSize_.height, 1)) {
    clientSize_ = Size{size.width(), size.height()};
  }
  core_.ClientResized(QSize(clientSize_.width, clientSize_.height));
  return clientSize_;
}

void QtForm::SizeMayHaveChanged() {
  if (core_.Widget() == nullptr) return;
  lifeCycle_.Sized(WindowSize());
}

void QtForm::Load() {
  if (app_ == nullptr) return;
  lifeCycle_.Load(WindowSize());
}

bool QtForm::MakeWindow() {
  if (app_ == nullptr) return false;
  if (!app_->GuiStarted()) {
    if (!app_->GuiPossible()) return false;
    windowOwed_ = true;
    app_->FormLoaded(*this);
    return true;
  }
  // After an unload the window may be gone already; a Load makes another.
  if (unloaded_ || core_.Widget() == nullptr) {
    NewWindow();
    unloaded_ = false;
  }
  RealizeWindow();
  app_->FormLoaded(*this);
  return true;
}

void QtForm::MakeOwedWindow() {
  if (!windowOwed_ || app_ == nullptr) return;
  windowOwed_ = false;
  NewWindow();
  unloaded_ = false;
  RealizeWindow();
}

void QtForm::RealizeWindow() {
  QWidget* widget = core_.Widget();
  if (widget == nullptr) return;
  // The native windows exist from here on, hidden: the title is findable.
  widget->winId();
  for (QWidget* child : widget->findChildren<QWidget*>()) {
    if (child->testAttribute(Qt::WA_NativeWindow)) child->winId();
  }
  // Other programs may look for the title at once.
  app_->SyncWindowSystem();
  // Placement and the opening zoom need the outer size before the window
  // is first shown.
  if (border_ != BorderStyle::None && app_->XReady()) {
    if (auto frame = ::x11::AskFrameExtents(app_->XDisplay(), static_cast<unsigned long>(widget->winId()))) {
      announcedFrame_ = QMargins(frame->left, frame->top, frame->right, frame->bottom);
    }
  }
  for (auto& timer : timers_) timer->SetLive(true);
}

void QtForm::Show(bool modal) {
  if (!Loaded()) Load();
  EnsureWindow();
  QWidget* widget = core_.Widget();
  if (!Loaded() || widget == nullptr) return;
  if (!lifeCycle_.BeforeShow(WindowSize())) return;
  if (modal && !widget->isVisible()) widget->setWindowModality(Qt::ApplicationModal);
  shown_ = true;
  widget->setVisible(!Empty());
  if (!embedded_ && !Empty()) {
    widget->raise();
    widget->activateWindow();
  }
  FocusFirstInTabOrder();
  if (!modal || !Loaded()) return;
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  modalLoop_ = nullptr;
}

void QtForm::Hide() {
  shown_ = false;
  if (QWidget* widget = core_.Widget()) widget->hide();
}

void QtForm::Unload() { lifeCycle_.Unload(); }

void QtForm::DropWindow() {
  unloaded_ = true;
  windowOwed_ = false;
  shown_ = false;
  for (auto& timer : timers_) timer->SetLive(false);
  core_.Shutdown();
  if (QWidget* widget = core_.Widget()) {
    widget->hide();
    // Not now: this may run inside one of the window's own events. The
    // foreign parent goes after the window it holds.
    foreign_.ReleaseAfter(widget);
    if (app_ != nullptr) {
      // Qt sends the window's destruction with its next request, whenever
      // that is; other programs look for the title before that.
      QObject::connect(widget, &QObject::destroyed, qApp, [app = app_] {
        QMetaObject::invokeMethod(qApp, [app] { app->SyncWindowSystem(); }, Qt::QueuedConnection);
      });
    }
    widget->deleteLater();
  }
  if (modalLoop_ != nullptr) modalLoop_->exit();
  if (app_ != nullptr) app_->FormUnloaded(*this);
}

void QtForm::CloseRequested() { Unload(); }

bool QtForm::SetChildStyle() { return Loaded(); }

bool QtForm::SetParentWindow(WindowHandle parent) {
  EnsureWindow();
  QWidget* widget = core_.Widget();
  if (!Loaded() || widget == nullptr || app_ == nullptr || !app_->XReady()) return false;
  embedded_ = foreign_.Attach(*widget, static_cast<x11::WindowId>(parent), app_->XDisplay(),
                              [this] { Unload(); });
  return embedded_;
}

Timer& QtForm::AddTimer(int intervalMs, bool enabled, std::function<void()> tick) {
  timers_.push_back(std::make_unique<QtTimer>(intervalMs, enabled, std::move(tick)));
  timers_.back()->SetLive(Loaded() && !windowOwed_);
  return *timers_.back();
}

void QtForm::SetTabOrder(const std::vector<Control*>& controls) {
  tabOrder_.clear();
  for (Control* control : controls) {
    auto* native = dynamic_cast<NativeControl*>(control);
    if (native != nullptr && native->NativeWidget() != nullptr) {
      tabOrder_.emplace_back(native->NativeWidget());
    }
  }
  for (size_t i = 1; i < tabOrder_.size(); ++i) {
    if (tabOrder_[i - 1] && tabOrder_[i]) QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
  }
}

void QtForm::FocusFirstInTabOrder() {
  QWidget* widget = core_.Widget();
  if (widget == nullptr || widget->focusWidget() != nullptr) return;
  for (const QPointer<QWidget>& control : tabOrder_) {
    if (control && control->isEnabled() && control->isVisibleTo(widget)) {
      control->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

}  // namespace toolkit::qt
