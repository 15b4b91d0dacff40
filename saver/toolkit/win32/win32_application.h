#pragma once
// The toolkit on the Windows user interface (user32).
#include <string>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

class Win32Application final : public Application {
 public:
  Win32Application();

  std::string CommandLine() const override { return commandLine_; }
  std::string ProgramFolder() const override;
  bool WindowExists(std::string_view title) override;
  void ShowCursor(bool show) override;
  void ShowMessageBox(std::string_view text, std::string_view caption) override;
  void EndProgram() override;
  int RunEventLoop() override;

 private:
  std::string commandLine_;
  int loadedForms_ = 0;
};

// The argument part of a full command line: the program's name (quoted or
// not) and the blanks after it removed.
std::wstring ArgumentsOf(std::wstring_view commandLine);

}  // namespace toolkit::win32
