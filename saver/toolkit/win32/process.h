#pragma once
// Programs started as processes of their own.
#include "saver/toolkit/win32/windows_api.h"

#include <memory>
#include <string>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

class Win32Application;

// A started program in a job of its own that kills it when the job's last
// handle closes: a host that is killed takes its renderer with it.
class Win32Process final : public Process {
 public:
  Win32Process(Win32Application& app, HANDLE process, HANDLE job) : app_(app), process_(process), job_(job) {}
  ~Win32Process() override;
  Win32Process(const Win32Process&) = delete;
  Win32Process& operator=(const Win32Process&) = delete;

  bool Running() override { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  bool WaitForEnd(int milliseconds) override;
  void NotifyEnd(std::function<void()> ended) override;

 private:
  Win32Application& app_;
  HANDLE process_;
  HANDLE job_;  // null when the system would not give one
};

// CreateProcessA with the quoted path as the whole command line, the window
// shown normally, not waited for. Null when the system would not start it.
std::unique_ptr<Process> StartWin32Program(Win32Application& app, const std::string& path);

}  // namespace toolkit::win32
