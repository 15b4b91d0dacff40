// Runs the real renderer (window logic, X11 backend, flyer scene) and saves
// the back buffer of chosen frames before they are swapped, then quits.
// Also writes gl.txt: the GL that drew them.
//   capture_frames OUTDIR FRAME...
//
// Frames that are not saved are drawn into one pixel and without the 15 ms
// pause. Every frame starts with a clear and the motion is the scene's own,
// so a saved frame is drawn exactly as the renderer draws it, and frame
// 2000 takes seconds instead of minutes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "renderer/gl.h"
#include "renderer/platform/x11/x11_platform.h"
#include "tools/xclient/png_file.h"
#include "renderer/scene.h"
#include "renderer/window.h"

namespace {

class UnpausedPlatform final : public renderer::X11Platform {
 public:
  void Sleep(std::uint32_t) override {}
};

const char* GlString(GLenum name) {
  const auto* text = reinterpret_cast<const char*>(glGetString(name));
  return text ? text : "";
}

class CapturingScene final : public renderer::SceneOps {
 public:
  CapturingScene(renderer::Platform& platform, std::string dir, std::set<int> frames)
      : inner_(platform), dir_(std::move(dir)), frames_(std::move(frames)) {}

  bool Init(renderer::RenderWindow& window, renderer::KeyStates& keys) override {
    window_ = &window;
    std::ofstream gl(dir_ + "/gl.txt");
    gl << "vendor=" << GlString(GL_VENDOR) << "\nrenderer=" << GlString(GL_RENDERER)
       << "\nversion=" << GlString(GL_VERSION) << "\n";
    ok = ok && static_cast<bool>(gl);
    return inner_.Init(window, keys);
  }
  void Step(std::uint32_t elapsed) override { inner_.Step(elapsed); }
  void Release() override { inner_.Release(); }
  void Draw() override {
    ++frame_;
    const bool save = frames_.count(frame_) > 0;
    if (save) {
      glDisable(GL_SCISSOR_TEST);
    } else {
      glEnable(GL_SCISSOR_TEST);
      glScissor(0, 0, 1, 1);
    }
    inner_.Draw();
    if (save) Save();
    if (frame_ >= *frames_.rbegin()) renderer::RequestQuit(*window_);
  }
  bool ok = true;

 private:
  void Save() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    xclient::Image image;
    image.width = viewport[2];
    image.height = viewport[3];
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(image.width) * image.height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    image.rgb.resize(rows.size());
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)  // GL rows are bottom-up
      std::copy_n(&rows[(image.height - 1 - y) * stride], stride, &image.rgb[y * stride]);
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%04d.png", frame_);
    ok = xclient::WritePng(dir_ + name, image) && ok;
  }

  renderer::FlyerScene inner_;
  std::string dir_;
  std::set<int> frames_;
  renderer::RenderWindow* window_ = nullptr;
  int frame_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: capture_frames OUTDIR FRAME...\n");
    return 2;
  }
  std::set<int> frames;
  for (int i = 2; i < argc; ++i) {
    const int n = std::atoi(argv[i]);
    if (n > 0) frames.insert(n);
  }
  if (frames.empty()) return 2;
  UnpausedPlatform platform;
  CapturingScene scene(platform, argv[1], frames);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  const int rc = renderer::WinMain(program, nullptr);
  return rc == 0 && scene.ok ? 0 : 1;
}
