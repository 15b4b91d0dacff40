#pragma once
// Notices when another client destroys one of our X windows: Qt itself goes
// on as if the window were still there.
#include <QAbstractNativeEventFilter>
#include <functional>

namespace toolkit::qt {

class WindowGoneWatch final : public QAbstractNativeEventFilter {
 public:
  explicit WindowGoneWatch(std::function<void(unsigned long window)> gone) : gone_(std::move(gone)) {}
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void(unsigned long)> gone_;
};

}  // namespace toolkit::qt
