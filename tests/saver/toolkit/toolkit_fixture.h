#pragma once
// The one Qt application of a toolkit test binary (each binary's main makes
// it) and what the tests share: running the event loop for a while, and a
// form that records its events.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "saver/toolkit/qt/qt_application.h"
#include "saver/toolkit/toolkit.h"

namespace toolkittest {

toolkit::qt::QtApplication& App();
void SetApp(toolkit::qt::QtApplication* app);

// Runs the event loop until `done` or the limit; whether it was done.
bool RunEventsUntil(const std::function<bool()>& done, int limitMs);
void RunEventsFor(int ms);

// What one of our windows shows, painted by its widget.
QImage Grab(toolkit::WindowHandle window);

struct RecordingForm : toolkit::FormEvents {
  std::vector<std::string> log;
  std::function<void()> onLoad;
  void Load() override {
    log.push_back("load");
    if (onLoad) onLoad();
  }
  void Resize() override { log.push_back("resize"); }
  void QueryUnload() override { log.push_back("query-unload"); }
  void Unload() override { log.push_back("unload"); }
};

struct RecordingControl : toolkit::UserControlEvents {
  std::vector<std::string> log;
  void MouseDown(const toolkit::MouseEvent& e) override { log.push_back(Describe("down", e)); }
  void MouseMove(const toolkit::MouseEvent& e) override { log.push_back(Describe("move", e)); }
  void MouseUp(const toolkit::MouseEvent& e) override { log.push_back(Describe("up", e)); }
  void GotFocus() override { log.push_back("got-focus"); }
  void LostFocus() override { log.push_back("lost-focus"); }
  void Resize() override { log.push_back("resize"); }
  static std::string Describe(const char* what, const toolkit::MouseEvent& e);
};

}  // namespace toolkittest
