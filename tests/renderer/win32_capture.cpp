// frame_capture.exe: the real renderer (window logic, Win32 backend, flyer
// scene) with a scene wrapper that reads chosen frames back from the back
// buffer before they are swapped, and ends after the last one.
//   frame_capture.exe OUTDIR FRAME...   writes OUTDIR\frame_NNNN.ppm
//
// Frames that are not saved are drawn into one pixel and without the 15 ms
// pause. Every frame starts with a clear and the motion is the scene's own,
// so a saved frame is drawn exactly as the renderer draws it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "renderer/gl.h"
#include "renderer/platform/win32/win32_platform.h"
#include "renderer/scene.h"
#include "renderer/window.h"

namespace capture {

class UnpausedPlatform final : public renderer::Win32Platform {
 public:
  void Sleep(std::uint32_t) override {}
};

bool WriteFrame(const std::string& path, int width, int height, const std::vector<unsigned char>& bottomUp) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  for (int y = height - 1; y >= 0; --y) std::fwrite(&bottomUp[stride * y], 1, stride, file);
  return std::fclose(file) == 0;
}

class CapturingScene final : public renderer::SceneOps {
 public:
  CapturingScene(renderer::Platform& platform, std::string folder, std::vector<int> frames)
      : scene_(platform), folder_(std::move(folder)), frames_(std::move(frames)) {}

  bool Init(renderer::RenderWindow& window, renderer::KeyStates& keys) override {
    window_ = &window;
    ReportPixelFormat(static_cast<HDC>(window.hDC));
    ReportGl();
    return scene_.Init(window, keys);
  }
  void Step(std::uint32_t elapsedMs) override { scene_.Step(elapsedMs); }
  void Draw() override {
    ++frame_;
    const bool save = std::find(frames_.begin(), frames_.end(), frame_) != frames_.end();
    if (save) {
      glDisable(GL_SCISSOR_TEST);
    } else {
      glEnable(GL_SCISSOR_TEST);
      glScissor(0, 0, 1, 1);
    }
    scene_.Draw();
    if (save) Capture();
    if (frame_ >= frames_.back()) renderer::RequestQuit(*window_);
  }
  void Release() override { scene_.Release(); }
  bool Failed() const { return failed_; }

 private:
  void Capture() {
    RECT client{};
    GetClientRect(static_cast<HWND>(window_->hWnd), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    char name[32];
    std::snprintf(name, sizeof(name), "\\frame_%04d.ppm", frame_);
    if (glGetError() != GL_NO_ERROR || !WriteFrame(folder_ + name, width, height, pixels)) failed_ = true;
    std::printf("frame=%d,%d,%d\n", frame_, width, height);
  }

  // The GL that draws, as the host's GL names itself through Wine.
  static void ReportGl() {
    for (const auto& [key, name] : {std::pair{"vendor", GL_VENDOR}, {"renderer", GL_RENDERER}, {"version", GL_VERSION}}) {
      const auto* text = reinterpret_cast<const char*>(glGetString(name));
      std::printf("%s=%s\n", key, text ? text : "");
    }
  }

  // What the system granted for the descriptor the renderer asked for.
  static void ReportPixelFormat(HDC dc) {
    PIXELFORMATDESCRIPTOR pfd{};
    const int format = GetPixelFormat(dc);
    if (format <= 0 || !DescribePixelFormat(dc, format, sizeof(pfd), &pfd)) return;
    std::printf("opengl=%d\n", (pfd.dwFlags & PFD_SUPPORT_OPENGL) ? 1 : 0);
    std::printf("window=%d\n", (pfd.dwFlags & PFD_DRAW_TO_WINDOW) ? 1 : 0);
    std::printf("doublebuffer=%d\n", (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
    std::printf("rgba=%d\n", pfd.iPixelType == PFD_TYPE_RGBA ? 1 : 0);
    std::printf("depthbits=%d\n", pfd.cDepthBits);
    // Only the switching process sees the switched depth under Wine.
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
      std::printf("mode=%lu,%lu,%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
  }

  renderer::FlyerScene scene_;
  std::string folder_;
  std::vector<int> frames_;
  renderer::RenderWindow* window_ = nullptr;
  int frame_ = 0;
  bool failed_ = false;
};

}  // namespace capture

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::vector<int> frames;
  for (int i = 2; i < argc; ++i) frames.push_back(std::max(1, std::atoi(argv[i])));
  std::sort(frames.begin(), frames.end());
  capture::UnpausedPlatform platform;
  capture::CapturingScene scene(platform, argv[1], frames);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  const int rc = renderer::WinMain(program, GetModuleHandleA(nullptr));
  std::printf("exit=%d\n", rc);
  std::fflush(stdout);
  return scene.Failed() ? 3 : rc;
}
