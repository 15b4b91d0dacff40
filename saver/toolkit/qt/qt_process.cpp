#include "saver/toolkit/qt/qt_process.h"

namespace toolkit::qt {

QtProcess::~QtProcess() { delete notifier_.data(); }

void QtProcess::NotifyEnd(std::function<void()> ended) {
  ended_ = std::move(ended);
  if (notifier_ || owner_ == nullptr) return;
  // Without a process descriptor the program's own watch still sees the end.
  const int fd = child_->EndDescriptor();
  if (fd < 0) return;
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, owner_);
  QObject::connect(notifier_.data(), &QSocketNotifier::activated, [this] {
    notifier_->setEnabled(false);
    if (ended_) ended_();
  });
}

}  // namespace toolkit::qt
