// The saver program of the Windows build under Wine (figures printed,
// never asserted): one PaintFace at 77 x 25, a hover tick that changes
// nothing (both measured inside button_faces.exe), and Tovarel.scr /c from
// exec until the dialog is fully painted on the X screen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"
#include "tests/wine/x_screen.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Both gradients and the buttons' faces are on the screen.
bool DialogPainted(const std::string& display) {
  // The dialog's client area lies inside the window Wine centred: search
  // the middle of the screen for the gradient's brightest row.
  const auto shown = wine_harness::CaptureScreen(display, 0, 0, 1024, 768);
  if (!shown) return false;
  int bright = 0, panel = 0, face = 0;
  for (std::uint32_t p : shown->rgb) {
    bright += p == 0xDCDCFA;  // dialog row 121
    panel += p == 0xFAFAFA;   // panel row 82
    face += p == 0x003C74;    // the buttons' outline
  }
  return bright >= 10 && panel >= 400 && face >= 100;
}

}  // namespace

int main() {
  const auto faces = wine_harness::WindowsBinary("button_faces.exe");
  const auto scr = wine_harness::WindowsBinary("Tovarel.scr");
  const auto dll = wine_harness::WindowsBinary("Tovarel.dll");
  if (!faces || !scr || !dll) {
    std::printf("the Windows build is missing (tools/build-windows.sh)\n");
    return 0;
  }
  std::string error;
  wine_harness::WineSession* session = wine_harness::SharedSession({}, error);
  if (!session) {
    std::printf("no Wine session: %s\n", error.c_str());
    return 1;
  }
  std::vector<double> paint, tick;
  for (int i = 0; i < 3; ++i) {
    const auto fields = wine_harness::ParseProbeFields(session->Run(*faces, {"bench"}, 120).output);
    paint.push_back(std::atof(wine_harness::ProbeField(fields, "paintface_us").c_str()));
    tick.push_back(std::atof(wine_harness::ProbeField(fields, "idle_tick_us_x100").c_str()) / 100);
  }
  std::printf("Wine: PaintFace 77x25: median %.0f us (of 3 runs x 200 paints)\n", Median(paint));
  std::printf("Wine: TmrMouse tick that changes nothing: median %.1f us (of 3 runs x 2000 ticks)\n", Median(tick));

  const std::string folder = session->WorkDir() + "/bench";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(*scr, folder + "/Tovarel.scr", std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(*dll, folder + "/Tovarel.dll", std::filesystem::copy_options::overwrite_existing);
  std::vector<double> painted;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    wine_harness::WineProcess dialog = session->Spawn(folder + "/Tovarel.scr", {"/c"}, 120);
    while (!DialogPainted(session->DisplayName()) && Clock::now() - start < 60s) std::this_thread::sleep_for(5ms);
    painted.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    wine_harness::SendDeleteWindow(session->DisplayName(), "<Tovarel>");
    dialog.Wait(30000);
  }
  std::printf("Wine: /c exec -> dialog fully painted: median %.0f ms (of 5; min %.0f, max %.0f)\n", Median(painted),
              *std::min_element(painted.begin(), painted.end()), *std::max_element(painted.begin(), painted.end()));
  return 0;
}
