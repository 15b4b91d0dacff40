#pragma once
// The forms-and-controls layer the saver program stands on. Program logic
// talks only to these interfaces; each platform supplies a backend (Qt on
// Linux, Win32 on Windows) and the unit tests a fake.
//
// Forms, controls, retained surfaces and timers join this header as the
// program's forms need them; they are loaded through the Application and
// keep its event loop alive while any of them is loaded.
#include <cstdint>
#include <string>
#include <string_view>

namespace toolkit {

// A native window handle: an HWND on Windows, an X window id on X11.
using WindowHandle = std::uintptr_t;

class Application {
 public:
  virtual ~Application() = default;

  // The argument text without the program's own path; empty without arguments.
  virtual std::string CommandLine() const = 0;

  // The program's folder as the system reports it: no trailing separator
  // except at a root.
  virtual std::string ProgramFolder() const = 0;

  // Whether a top-level window of exactly this title exists, of any class
  // and in any process.
  virtual bool WindowExists(std::string_view title) = 0;

  // Counted like the system's cursor display count: hidden while below zero.
  virtual void ShowCursor(bool show) = 0;

  // A modal message box with an OK button only and no icon; returns when the
  // user has closed it.
  virtual void ShowMessageBox(std::string_view text, std::string_view caption) = 0;

  // Ends the process at once, without any form's unload handlers. A real
  // backend never returns; callers return right after it all the same.
  virtual void EndProgram() = 0;

  // Runs events until the last loaded form is unloaded; returns at once when
  // no form is loaded. The result is the process exit code.
  virtual int RunEventLoop() = 0;
};

}  // namespace toolkit
