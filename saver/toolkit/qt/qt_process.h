#pragma once
// A started program whose end the Qt event loop hears of at once, through
// the kernel's process descriptor (watched from the GUI's start on).
#include <QPointer>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "saver/toolkit/posix/spawn.h"
#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

class QtApplication;

class QtProcess final : public Process {
 public:
  QtProcess(std::unique_ptr<posix::ChildProcess> child, QtApplication& app)
      : child_(std::move(child)), app_(app) {}
  ~QtProcess() override;

  bool Running() override { return child_->Running(); }
  bool WaitForEnd(int milliseconds) override { return child_->WaitForEnd(milliseconds); }
  void NotifyEnd(std::function<void()> ended) override;

 private:
  void Watch();

  std::unique_ptr<posix::ChildProcess> child_;
  QtApplication& app_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  bool watching_ = false;
  QPointer<QSocketNotifier> notifier_;
  std::function<void()> ended_;
};

}  // namespace toolkit::qt
