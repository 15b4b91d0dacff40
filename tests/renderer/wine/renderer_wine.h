#pragma once
// What the renderer's Wine tests share: the Windows programs, one Wine
// session per screen size, and the probe that looks at the window from a
// Windows process of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"
#include "tools/xclient/x11_client.h"

namespace renderer_wine {

using Fields = wine_harness::ProbeFields;
inline constexpr auto& ParseFields = wine_harness::ParseProbeFields;
inline constexpr auto& Field = wine_harness::ProbeField;

struct Binaries {
  std::string renderer;  // Tovarel.dll
  std::string probe;     // probe.exe
  std::string capture;   // frame_capture.exe
  std::string entry;     // entry_check.exe
};

// Win32 values the tests send.
inline constexpr std::uint32_t WmClose = 0x0010;
inline constexpr std::uint32_t WmSysCommand = 0x0112;
inline constexpr std::uint32_t WmToggleMode = 0x0401;
inline constexpr std::uintptr_t ScMinimize = 0xF020;
inline constexpr std::uintptr_t ScClose = 0xF060;
inline constexpr std::uintptr_t ScRestore = 0xF120;
inline constexpr std::uintptr_t ScScreenSave = 0xF140;
inline constexpr std::uintptr_t ScMonitorPower = 0xF170;

inline constexpr int RendererExitWaitMs = 30000;
inline constexpr int WindowWaitMs = 30000;

class RendererWineTest : public ::testing::Test {
 protected:
  virtual wine_harness::ScreenSize Screen() const { return {1024, 768}; }
  void SetUp() override;

  wine_harness::RunResult Run(const std::string& program, const std::vector<std::string>& args,
                              int timeoutSeconds = 60) const;
  // The renderer's window once it shows every condition (KEY=VALUE).
  std::optional<Fields> WaitForWindow(const std::vector<std::string>& conditions = {}) const;
  bool WaitUntilGone() const;
  bool Post(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;
  // The display's current mode as "width,height,bits".
  std::string DisplayMode() const;
  wine_harness::WineProcess StartRenderer() const;
  // What the X server shows of the renderer's window.
  std::optional<xclient::Image> CaptureWindow() const;

  wine_harness::WineSession* session_ = nullptr;
  Binaries bin_;
};

}  // namespace renderer_wine
