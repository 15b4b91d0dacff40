#include "saver/toolkit/qt/qt_embedding.h"

#include <QTimer>
#include <QWidget>

#include "saver/toolkit/qt/qt_text.h"
#include "saver/toolkit/x11/embed.h"

namespace toolkit::qt {

ForeignParent::~ForeignParent() { Release(); }

bool ForeignParent::Attach(QWidget& form, x11::WindowId host, Display* ownDisplay,
                           std::function<void()> hostGone) {
  if (foreign_ || ownDisplay == nullptr || form.windowHandle() == nullptr) return false;
  // Watch first: a host destroyed from here on is seen, whatever happens next.
  if (!watch_.Start(host)) return false;
  hostGone_ = std::move(hostGone);
  notifier_ = std::make_unique<QSocketNotifier>(watch_.Fd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { CheckHost(); });

  // Qt learns of its new parent (and stops treating the window as a
  // top-level); the same reparent on our connection is done and checked now,
  // while Qt's request waits in its buffer.
  foreign_ = QWindow::fromWinId(static_cast<WId>(host));
  form.windowHandle()->setParent(foreign_);
  form.move(0, 0);
  const x11::WindowId window = static_cast<x11::WindowId>(form.winId());
  const bool inside = x11::ReparentInto(ownDisplay, window, host);
  // Events read during those round trips are not announced on the socket.
  CheckHost();
  return inside;
}

void ForeignParent::Release() {
  notifier_.reset();
  if (!foreign_) return;
  // Deleting a window deletes its child windows; the form's is not ours
  // to delete here.
  for (QWindow* child : foreign_->findChildren<QWindow*>(Qt::FindDirectChildrenOnly)) {
    child->setParent(nullptr);
  }
  delete foreign_.data();
  foreign_ = nullptr;
}

void ForeignParent::ReleaseAfter(QWidget* widget) {
  notifier_.reset();
  if (!foreign_) return;
  QObject::connect(widget, &QObject::destroyed, foreign_.data(), &QObject::deleteLater);
  foreign_ = nullptr;
}

void ForeignParent::CheckHost() {
  if (reported_ || !watch_.HostGone()) return;
  reported_ = true;
  if (notifier_) notifier_->setEnabled(false);
  // Never from inside Attach or the notifier: the handler unloads the form.
  // The notifier is the context, so nothing runs once we are gone.
  QTimer::singleShot(0, notifier_.get(), [this] { Invoke(hostGone_); });
}

}  // namespace toolkit::qt
