#include "saver/toolkit/qt/qt_process.h"

#include <QApplication>

#include "saver/toolkit/qt/qt_application.h"

namespace toolkit::qt {

QtProcess::~QtProcess() { delete notifier_.data(); }

void QtProcess::NotifyEnd(std::function<void()> ended) {
  ended_ = std::move(ended);
  if (watching_) return;
  watching_ = true;
  app_.WhenGuiStarted(alive_, [this] { Watch(); });
}

// Without a process descriptor the program's own watch still sees the end.
void QtProcess::Watch() {
  const int fd = child_->EndDescriptor();
  QApplication* gui = app_.Gui();
  if (fd < 0 || gui == nullptr) return;
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, gui);
  QObject::connect(notifier_.data(), &QSocketNotifier::activated, [this] {
    notifier_->setEnabled(false);
    if (ended_) ended_();
  });
}

}  // namespace toolkit::qt
