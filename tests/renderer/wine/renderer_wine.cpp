#include "tests/renderer/wine/renderer_wine.h"

#include <X11/Xlib.h>

#include <sstream>

#include "tests/wine/windows_binaries.h"

namespace renderer_wine {

void RendererWineTest::SetUp() {
  const auto renderer = wine_harness::WindowsBinary("Tovarel.dll");
  const auto probe = wine_harness::WindowsBinary("probe.exe");
  const auto capture = wine_harness::WindowsBinary("frame_capture.exe");
  const auto entry = wine_harness::WindowsBinary("entry_check.exe");
  if (!renderer || !probe || !capture || !entry) {
    GTEST_SKIP() << "the Windows build is missing from " << wine_harness::WindowsBinDir()
                 << " (Tovarel.dll, probe.exe, frame_capture.exe, entry_check.exe); run tools/build-windows.sh";
  }
  bin_ = Binaries{*renderer, *probe, *capture, *entry};
  std::string error;
  session_ = wine_harness::SharedSession(Screen(), error);
  ASSERT_NE(session_, nullptr) << "no Wine session: " << error;
  // A renderer left over from a failed case would answer for the next one.
  ASSERT_TRUE(WaitUntilGone()) << "a renderer window is still open";
}

wine_harness::RunResult RendererWineTest::Run(const std::string& program, const std::vector<std::string>& args,
                                              int timeoutSeconds) const {
  return session_->Run(program, args, timeoutSeconds);
}

std::optional<Fields> RendererWineTest::WaitForWindow(const std::vector<std::string>& conditions) const {
  // A window counts once it is shown: it is created hidden.
  std::vector<std::string> args{"wait", "Lumora_VC", std::to_string(WindowWaitMs), "visible=1"};
  args.insert(args.end(), conditions.begin(), conditions.end());
  const auto result = Run(bin_.probe, args, WindowWaitMs / 1000 + 30);
  if (result.exitCode != 0) return std::nullopt;
  return ParseFields(result.output);
}

bool RendererWineTest::WaitUntilGone() const {
  return Run(bin_.probe, {"gone", "Lumora_VC", std::to_string(WindowWaitMs)}, WindowWaitMs / 1000 + 30).exitCode == 0;
}

bool RendererWineTest::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const {
  return Run(bin_.probe, {"post", "Lumora_VC", std::to_string(message), std::to_string(wParam),
                          std::to_string(lParam)})
             .exitCode == 0;
}

std::string RendererWineTest::DisplayMode() const {
  const auto fields = ParseFields(Run(bin_.probe, {"mode"}).output);
  const auto mode = fields.find("mode");
  return mode == fields.end() ? std::string("unknown") : mode->second;
}

wine_harness::WineProcess RendererWineTest::StartRenderer() const {
  return session_->Spawn(bin_.renderer, {}, 300);
}

std::optional<xclient::Image> RendererWineTest::CaptureWindow() const {
  Display* display = XOpenDisplay(session_->DisplayName().c_str());
  if (!display) return std::nullopt;
  std::optional<xclient::Image> image;
  if (const auto window = xclient::FindWindowByTitle(display, "Lumora_VC")) image = xclient::Capture(display, *window);
  XCloseDisplay(display);
  return image;
}

}  // namespace renderer_wine
