#pragma once
// Program entry, the render window and its message and frame loop.
#include <array>
#include <cstdint>

#include "renderer/platform/platform.h"

namespace renderer {

// 32-bit Booleans as the window logic keeps them: TRUE is exactly 1.
using Bool32 = std::int32_t;
inline constexpr Bool32 True32 = 1;
inline constexpr Bool32 False32 = 0;

using KeyStates = std::array<Bool32, 256>;

struct ProgramInfo {
  InstanceHandle hInstance = nullptr;
  const char* className = "OpenGL";
};

struct WindowSetup {
  ProgramInfo* program = nullptr;
  const char* title = "Lumora_VC";
  std::int32_t width = 1024;
  std::int32_t height = 768;
  std::int32_t bitsPerPixel = 16;
  Bool32 fullScreen = True32;
};

struct RenderWindow {
  KeyStates* keys = nullptr;
  WindowHandle hWnd = nullptr;
  DeviceContext hDC = nullptr;
  GlContext hRC = nullptr;
  WindowSetup setup;
  Bool32 visible = False32;
  std::uint32_t lastTick = 0;
};

// The four scene operations the loop drives.
class SceneOps {
 public:
  virtual ~SceneOps() = default;
  virtual bool Init(RenderWindow& window, KeyStates& keys) = 0;
  virtual void Step(std::uint32_t elapsedMs) = 0;
  virtual void Draw() = 0;
  virtual void Release() = 0;
};

using ProjectionFn = void (*)(std::int32_t width, std::int32_t height);

// GL viewport and perspective for a client area of the given size.
void SetProjection(std::int32_t width, std::int32_t height);

// Everything program-wide: the parts the loop talks to and the two flags.
struct Program {
  Platform* platform = nullptr;
  SceneOps* scene = nullptr;
  ProjectionFn setProjection = SetProjection;
  Bool32 keepRunning = False32;
  Bool32 wantFullScreen = True32;
};

// The program entry; returns the exit code (0, or -1 when the window class
// cannot be registered).
int WinMain(Program& program, InstanceHandle instance);

bool RegisterRenderClass(Program& program, const ProgramInfo& info);
bool SwitchDisplayMode(Program& program, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);
bool OpenRenderWindow(Program& program, RenderWindow& window);
bool CloseRenderWindow(Program& program, RenderWindow& window);
void RunMessageLoop(Program& program, RenderWindow& window);
void RequestQuit(RenderWindow& window);
std::intptr_t RendererWndProc(WindowHandle hWnd, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

}  // namespace renderer
