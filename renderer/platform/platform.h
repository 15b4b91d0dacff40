#pragma once
// What the renderer's window logic needs from the system. The operations and
// values follow Win32 one to one; each backend translates them and decides
// nothing of its own.
#include <cstdint>
#include <optional>

namespace renderer {

using WindowHandle = void*;
using DeviceContext = void*;
using GlContext = void*;
using InstanceHandle = void*;

// Win32 values (WM_*, SIZE_*, SC_*, VK_*, WS_*) under names that do not clash
// with <windows.h> macros, so the logic reads the same on every platform.
inline constexpr std::uint32_t MsgCreate = 0x0001;
inline constexpr std::uint32_t MsgSize = 0x0005;
inline constexpr std::uint32_t MsgClose = 0x0010;
inline constexpr std::uint32_t MsgQuit = 0x0012;
inline constexpr std::uint32_t MsgKeyDown = 0x0100;
inline constexpr std::uint32_t MsgKeyUp = 0x0101;
inline constexpr std::uint32_t MsgSysCommand = 0x0112;
inline constexpr std::uint32_t MsgUser = 0x0400;
inline constexpr std::uint32_t MsgToggleMode = MsgUser + 1;

inline constexpr std::uintptr_t SizeRestored = 0;
inline constexpr std::uintptr_t SizeMinimized = 1;
inline constexpr std::uintptr_t SizeMaximized = 2;

inline constexpr std::uintptr_t ScScreenSave = 0xF140;
inline constexpr std::uintptr_t ScMonitorPower = 0xF170;
inline constexpr std::uintptr_t VkEscape = 27;

inline constexpr std::uint32_t StyleOverlappedWindow = 0x00CF0000;
inline constexpr std::uint32_t StylePopup = 0x80000000;
inline constexpr std::uint32_t ExStyleTopmost = 0x00000008;
inline constexpr std::uint32_t ExStyleAppWindow = 0x00040000;

struct Message {
  WindowHandle hWnd = nullptr;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The window procedure the class is registered with. WM_CREATE carries the
// creation parameter itself in lParam (a backend unpacks CREATESTRUCT).
using WindowProc = std::intptr_t (*)(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t);

// The descriptor fields the renderer sets; everything else is zero.
struct PixelFormatRequest {
  bool drawToWindow = true;
  bool supportOpenGl = true;
  bool doubleBuffer = true;
  std::uint8_t colorBits = 16;
  std::uint8_t depthBits = 16;
};

// A 24-bit bitmap resource: bottom-up rows of B, G, R bytes, each row padded
// to 4 bytes. `bits` stays valid until FreeBitmap.
struct Bitmap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  const void* bits = nullptr;
  void* handle = nullptr;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual bool RegisterWindowClass(InstanceHandle instance, const char* className, WindowProc proc) = 0;
  virtual void UnregisterWindowClass(InstanceHandle instance, const char* className) = 0;

  // ChangeDisplaySettingsA with the fullscreen flag; true only on success.
  virtual bool ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) = 0;
  // ChangeDisplaySettingsA(NULL, 0): back to the desktop's own mode.
  virtual void RestoreDisplayMode() = 0;
  virtual void ShowCursor(bool show) = 0;

  virtual void AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t exStyle) = 0;
  virtual WindowHandle NewWindow(std::uint32_t exStyle, const char* className, const char* title,
                                 std::uint32_t style, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height, InstanceHandle instance,
                                 void* createParam) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual void ShowWindow(WindowHandle window) = 0;
  virtual void SetWindowUserData(WindowHandle window, void* data) = 0;
  virtual void* GetWindowUserData(WindowHandle window) = 0;
  virtual std::intptr_t DefaultProcessing(const Message& message) = 0;

  virtual DeviceContext GetDC(WindowHandle window) = 0;
  virtual void ReleaseDC(WindowHandle window, DeviceContext dc) = 0;
  // ChoosePixelFormat: 0 when nothing fits.
  virtual int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) = 0;
  virtual bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) = 0;
  virtual GlContext CreateGlContext(DeviceContext dc) = 0;
  // A null context releases the current one.
  virtual bool MakeCurrent(DeviceContext dc, GlContext context) = 0;
  virtual void DeleteGlContext(GlContext context) = 0;
  virtual void SwapBuffers(DeviceContext dc) = 0;

  // PeekMessageA(..., window, 0, 0, PM_REMOVE): false when none is pending.
  virtual bool PeekWindowMessage(WindowHandle window, Message& message) = 0;
  virtual void DispatchWindowMessage(const Message& message) = 0;
  virtual void WaitMessage() = 0;
  virtual void PostQuit(WindowHandle window) = 0;

  virtual std::uint32_t GetTickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  virtual std::optional<Bitmap> LoadBitmapResource(int resourceId) = 0;
  virtual void FreeBitmap(const Bitmap& bitmap) = 0;
};

}  // namespace renderer
