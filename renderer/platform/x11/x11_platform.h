#pragma once
// The renderer's own window on X: Xlib for the window, its hints and its
// events, GLX for the visual and the context, RandR for the mode switch.
#include <optional>
#include <string>
#include <vector>

#include "renderer/platform/x11/x11_display_mode.h"
#include "x11/frame_extents.h"
#include "renderer/platform/x11/x11_platform_base.h"

namespace renderer {

class X11Platform : public X11PlatformBase {
 public:
  X11Platform();
  ~X11Platform() override;

  bool RegisterWindowClass(InstanceHandle instance, const char* className, WindowProc proc) override;
  void UnregisterWindowClass(InstanceHandle instance, const char* className) override;
  bool ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) override;
  void RestoreDisplayMode() override;
  void ShowCursor(bool show) override;
  void AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t exStyle) override;
  WindowHandle NewWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                         std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         InstanceHandle instance, void* createParam) override;
  void DestroyWindow(WindowHandle window) override;
  void ShowWindow(WindowHandle window) override;
  void SetWindowUserData(WindowHandle window, void* data) override;
  void* GetWindowUserData(WindowHandle window) override;
  DeviceContext GetDC(WindowHandle window) override;
  int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override;
  bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override;

 protected:
  unsigned long DrawableOf(const void* handle) const override;
  bool Owns(WindowHandle window) const override;
  bool Translate(WindowHandle window, Message& message) override;

 private:
  struct NativeWindow;

  NativeWindow* Find(const void* handle) const;
  // Title, class, protocols, frame and state properties the rest of the
  // desktop reads; set before mapping, as window managers read them then.
  void DescribeToX(NativeWindow& window);
  // Client size of a framed window whose outer size was asked for.
  void FitInsideFrame(NativeWindow& window);
  bool WaitUntilMapped(NativeWindow& window);
  void ApplyCursor(NativeWindow& window);
  bool FitView(NativeWindow& window);
  void CoverOtherMonitors(const NativeWindow& window);
  void Uncover();

  std::string className_;
  X11DisplayMode displayMode_;
  std::vector<unsigned long> atoms_;
  unsigned long blankCursor_ = 0;
  int cursorCount_ = 0;
  x11::FrameExtents frame_;  // the window manager's, as last learned
  std::optional<x11::FrameExtents> adjustedBy_;  // what AdjustWindowRect added for the next window
  NativeWindow* window_ = nullptr;  // the renderer has one window at a time
  std::vector<unsigned long> covers_;  // black over the other monitors
};

}  // namespace renderer
