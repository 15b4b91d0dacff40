#include "saver/toolkit/win32/process.h"

#include <vector>

#include "saver/common/code_page.h"
#include "saver/toolkit/win32/win32_application.h"

namespace toolkit::win32 {

namespace {

HANDLE KillOnCloseJob() {
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

}  // namespace

Win32Process::~Win32Process() {
  app_.Unwatch(process_);
  CloseHandle(process_);
  if (job_ != nullptr) CloseHandle(job_);
}

bool Win32Process::WaitForEnd(int milliseconds) {
  return WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void Win32Process::NotifyEnd(std::function<void()> ended) { app_.Watch(process_, std::move(ended)); }

std::unique_ptr<Process> StartWin32Program(Win32Application& app, const std::string& path) {
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
  // Suspended until it is in the job, so nothing it starts escapes it.
  const HANDLE job = KillOnCloseJob();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, job != nullptr ? CREATE_SUSPENDED : 0,
                      nullptr, nullptr, &startup, &started)) {
    if (job != nullptr) CloseHandle(job);
    return nullptr;
  }
  HANDLE kept = job;
  if (job != nullptr && !AssignProcessToJobObject(job, started.hProcess)) {
    CloseHandle(job);
    kept = nullptr;
  }
  if (job != nullptr) ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  return std::make_unique<Win32Process>(app, started.hProcess, kept);
}

}  // namespace toolkit::win32
