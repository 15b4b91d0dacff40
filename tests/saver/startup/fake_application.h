#pragma once
// A toolkit application that records what Main asks of it.
#include <set>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace testsupport {

class FakeApplication : public toolkit::Application {
 public:
  std::string commandLine;
  std::string programFolder;
  std::set<std::string> windows;
  std::vector<std::string> log;
  bool ended = false;

  std::string CommandLine() const override { return commandLine; }
  std::string ProgramFolder() const override { return programFolder; }
  bool WindowExists(std::string_view title) override {
    Record("find " + std::string(title));
    return windows.count(std::string(title)) > 0;
  }
  void ShowCursor(bool show) override { Record(show ? "cursor show" : "cursor hide"); }
  void ShowMessageBox(std::string_view text, std::string_view caption) override {
    Record("message " + std::string(text) + " | " + std::string(caption));
  }
  void EndProgram() override {
    Record("end");
    ended = true;
  }
  int RunEventLoop() override {
    Record("loop");
    return 0;
  }

  // After EndProgram a real program is gone: anything further is a fault.
  void Record(const std::string& entry) { log.push_back(ended ? "AFTER END: " + entry : entry); }
};

}  // namespace testsupport
