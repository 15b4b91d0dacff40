#pragma once
// Programs started as processes of their own.
#include "saver/toolkit/win32/windows_api.h"

#include <memory>
#include <string>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

class Win32Process final : public Process {
 public:
  explicit Win32Process(HANDLE process) : process_(process) {}
  ~Win32Process() override { CloseHandle(process_); }
  Win32Process(const Win32Process&) = delete;
  Win32Process& operator=(const Win32Process&) = delete;

  bool Running() override { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

 private:
  HANDLE process_;
};

// CreateProcessA with the quoted path as the whole command line, the window
// shown normally, not waited for. Null when the system would not start it.
std::unique_ptr<Process> StartWin32Program(const std::string& path);

}  // namespace toolkit::win32
