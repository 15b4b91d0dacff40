#pragma once
// The toolkit on Qt 6 Widgets and Xlib. QApplication is made only when
// something needs it: a copy that ends at the single-copy check costs no
// more than one X connection.
#include <memory>
#include <string>

#include "saver/toolkit/toolkit.h"

class QApplication;
typedef struct _XDisplay Display;

namespace toolkit::qt {

class QtApplication final : public Application {
 public:
  QtApplication(int& argc, char** argv);
  ~QtApplication() override;
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

  std::string CommandLine() const override { return commandLine_; }
  std::string ProgramFolder() const override;
  bool WindowExists(std::string_view title) override;
  void ShowCursor(bool show) override;
  void ShowMessageBox(std::string_view text, std::string_view caption) override;
  void EndProgram() override;
  int RunEventLoop() override;

  // The widgets application, made on first use; null when no display can
  // be reached.
  QApplication* Gui();

 private:
  Display* XDisplay();

  int& argc_;
  char** argv_;
  std::string commandLine_;
  std::unique_ptr<QApplication> gui_;
  bool guiFailed_ = false;
  Display* display_ = nullptr;
  bool displayTried_ = false;
  int cursorCount_ = 0;
  int loadedForms_ = 0;
};

}  // namespace toolkit::qt
