#include "tests/saver/toolkit/toolkit_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace toolkittest {
namespace {

toolkit::qt::QtApplication* theApp = nullptr;

}  // namespace

toolkit::qt::QtApplication& App() { return *theApp; }
void SetApp(toolkit::qt::QtApplication* app) { theApp = app; }

bool RunEventsUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  // Wakes the wait below now and then, so `done` is looked at again.
  QTimer wake;
  wake.start(5);
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

void RunEventsFor(int ms) {
  RunEventsUntil([] { return false; }, ms);
}

QImage Grab(toolkit::WindowHandle window) {
  QWidget* widget = QWidget::find(static_cast<WId>(window));
  return widget != nullptr ? widget->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

std::string RecordingControl::Describe(const char* what, const toolkit::MouseEvent& e) {
  return std::string(what) + " " + std::to_string(e.button) + " " + std::to_string(e.shift) + " " +
         std::to_string(e.x) + "," + std::to_string(e.y);
}

}  // namespace toolkittest
