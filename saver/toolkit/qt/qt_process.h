#pragma once
// A started program whose end the Qt event loop hears of at once, through
// the kernel's process descriptor.
#include <QPointer>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "saver/toolkit/posix/spawn.h"
#include "saver/toolkit/toolkit.h"

class QObject;

namespace toolkit::qt {

class QtProcess final : public Process {
 public:
  // `owner` outlives nothing of ours: the notifier goes with it.
  QtProcess(std::unique_ptr<posix::ChildProcess> child, QObject* owner)
      : child_(std::move(child)), owner_(owner) {}
  ~QtProcess() override;

  bool Running() override { return child_->Running(); }
  bool WaitForEnd(int milliseconds) override { return child_->WaitForEnd(milliseconds); }
  void NotifyEnd(std::function<void()> ended) override;

 private:
  std::unique_ptr<posix::ChildProcess> child_;
  QObject* owner_;
  QPointer<QSocketNotifier> notifier_;
  std::function<void()> ended_;
};

}  // namespace toolkit::qt
