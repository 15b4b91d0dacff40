#pragma once
// The saver program of the Windows build under Wine, with its windows
// seen from outside: the X screen of the session, and saver_windows.exe
// asking the system from another process.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"
#include "tests/wine/x_input.h"
#include "tests/wine/x_screen.h"

namespace saver_gui_wine {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using wine_harness::ProbeField;
using wine_harness::ProbeFields;

constexpr int kProgramSeconds = 120;

inline long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Polls `done` every 10 ms; false when `timeout` passed first.
template <class Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

class GuiWineTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"Tovarel.scr", "Tovarel.dll", "saver_windows.exe", "saver_preview_host.exe",
                                "button_faces.exe"}) {
      if (!wine_harness::WindowsBinary(program))
        GTEST_SKIP() << program << " of the Windows build is missing from " << wine_harness::WindowsBinDir()
                     << "; run tools/build-windows.sh";
    }
    std::string error;
    session = wine_harness::SharedSession(Screen(), error);
    ASSERT_NE(session, nullptr) << error;
    folder = session->WorkDir() + "/gui-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* program : {"Tovarel.scr", "Tovarel.dll"})
      fs::copy_file(*wine_harness::WindowsBinary(program), folder + "/" + program);
    // Nothing of an earlier test under the pointer.
    wine_harness::MovePointer(DisplayName(), 1020, 760);
  }

  // The session's screen; the default is the usual 1024 x 768.
  virtual wine_harness::ScreenSize Screen() const { return {}; }
  const std::string& DisplayName() const { return session->DisplayName(); }
  std::string Scr() const { return folder + "/Tovarel.scr"; }
  std::string Ini() const { return folder + "/Tovarel.ini"; }
  static std::string Helper(const char* name) { return *wine_harness::WindowsBinary(name); }

  ProbeFields Windows(const std::vector<std::string>& args) const {
    const wine_harness::RunResult run = session->Run(Helper("saver_windows.exe"), args, 60);
    EXPECT_FALSE(run.timedOut) << args[0];
    return wine_harness::ParseProbeFields(run.output);
  }
  bool XWindow(const std::string& title) const { return wine_harness::XWindowExists(DisplayName(), title); }
  // Waits for a background program's `key` line.
  static bool WaitForLine(wine_harness::WineProcess& process, const std::string& key, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return wine_harness::ParseProbeFields(process.Output()).count(key) > 0 || !process.Running(); },
                     timeout) &&
           wine_harness::ParseProbeFields(process.Output()).count(key) > 0;
  }
  // The one message box of the program, which no test here should see.
  bool MessageBoxShown() const { return XWindow("Tovarel (ScreenSaver)"); }

  wine_harness::WineSession* session = nullptr;
  std::string folder;
};

}  // namespace saver_gui_wine
