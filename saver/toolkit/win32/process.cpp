#include "saver/toolkit/win32/process.h"

#include <vector>

#include "saver/common/code_page.h"

namespace toolkit::win32 {

std::unique_ptr<Process> StartWin32Program(const std::string& path) {
  // A path the ANSI code page cannot hold would name another file.
  const std::optional<std::string> ansi = common::Utf8ToAnsi(path);
  if (!ansi || ansi->empty()) return nullptr;
  const std::string quoted = "\"" + *ansi + "\"";
  std::vector<char> commandLine(quoted.begin(), quoted.end());
  commandLine.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started))
    return nullptr;
  CloseHandle(started.hThread);
  return std::make_unique<Win32Process>(started.hProcess);
}

}  // namespace toolkit::win32
