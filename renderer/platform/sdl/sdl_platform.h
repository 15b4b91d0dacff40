#pragma once
// The renderer's system seam on SDL2 with the X11 video driver.
#include <deque>
#include <optional>
#include <string>

#include "../platform.h"
#include "x11_display_mode.h"
#include "x11_frame_extents.h"

struct SDL_Window;

namespace renderer {

class SdlPlatform : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;

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

  // An X error other than the window's loss ended the run: the program
  // ends in order, but not as a success.
  bool EndedByXError() const;

 private:
  struct NativeWindow;

  NativeWindow* Find(WindowHandle window) const;
  bool TakeCloseRequest(WindowHandle window, Message& message);
  bool Translate(const void* sdlEvent, WindowHandle window, Message& message);
  // Class hint, frame and state properties the rest of the desktop reads.
  void DescribeToX(NativeWindow& window);
  // Client size of a framed window whose outer size was asked for.
  void FitInsideFrame(NativeWindow& window);

  bool videoStarted_ = false;
  std::string className_;
  WindowProc proc_ = nullptr;
  X11DisplayMode displayMode_;
  int cursorCount_ = 0;
  FrameExtents frame_;  // the window manager's, as last learned
  std::optional<FrameExtents> adjustedBy_;  // what AdjustWindowRect added for the next window
  NativeWindow* window_ = nullptr;  // the renderer has one window at a time
  std::deque<Message> posted_;
  unsigned long toggleAtom_ = 0;
};

}  // namespace renderer
