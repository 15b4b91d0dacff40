#pragma once
// The renderer's system seam on Win32, WGL and the GDI resource loader.
#include <windows.h>

#include <vector>

#include "renderer/platform/platform.h"

namespace renderer {

class Win32Platform : public Platform {
 public:
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
  std::intptr_t DefaultProcessing(const Message& message) override;
  DeviceContext GetDC(WindowHandle window) override;
  void ReleaseDC(WindowHandle window, DeviceContext dc) override;
  int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override;
  bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override;
  GlContext CreateGlContext(DeviceContext dc) override;
  bool MakeCurrent(DeviceContext dc, GlContext context) override;
  void DeleteGlContext(GlContext context) override;
  void SwapBuffers(DeviceContext dc) override;
  bool PeekWindowMessage(WindowHandle window, Message& message) override;
  void DispatchWindowMessage(const Message& message) override;
  void WaitMessage() override;
  void PostQuit(WindowHandle window) override;
  std::uint32_t GetTickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::optional<Bitmap> LoadBitmapResource(int resourceId) override;
  void FreeBitmap(const Bitmap& bitmap) override;

 private:
  // Plain black windows over every monitor a full-screen window leaves
  // showing the desktop, never activated; gone with the window.
  void CoverOtherMonitors(HWND window);
  void Uncover();
  std::vector<HWND> covers_;
  // The message last taken from the queue, so that dispatching it keeps its
  // time and pointer position.
  MSG lastMessage_{};
};

// The descriptor the renderer asks for: the requested fields, all others 0.
PIXELFORMATDESCRIPTOR DescriptorOf(const PixelFormatRequest& request);
// The display mode the renderer switches to (148-byte DEVMODEA).
DEVMODEA DisplayModeOf(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);

}  // namespace renderer
