#pragma once
// A platform that writes down every call, hands out fake handles, and can be
// told to refuse one step.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "renderer/platform/platform.h"

namespace renderer::testing {

class RecordingPlatform : public Platform {
 public:
  std::vector<std::string> calls;
  std::deque<Message> queue;  // what PeekWindowMessage hands out, in order
  std::string failAt;         // the call that fails ("NewWindow", "GetDC", ...)
  bool modeRefused = false;
  std::function<void()> onWait;  // runs in WaitMessage, so a test can wake it
  std::function<void(std::uint32_t)> onSleep;  // the scene sleeps once a frame
  WindowProc proc = nullptr;
  void* userData = nullptr;
  int windowsMade = 0;
  std::uint32_t tick = 1000;
  PixelFormatRequest lastRequest;

  static constexpr std::uintptr_t Window = 0x100;
  static constexpr std::uintptr_t Dc = 0x200;
  static constexpr std::uintptr_t Context = 0x300;

  WindowHandle CurrentWindow() const { return reinterpret_cast<WindowHandle>(Window + windowsMade); }
  void Push(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    queue.push_back(Message{CurrentWindow(), message, wParam, lParam});
  }
  int Count(const std::string& call) const;

  bool RegisterWindowClass(InstanceHandle, const char* className, WindowProc p) override;
  void UnregisterWindowClass(InstanceHandle, const char* className) override;
  bool ChangeDisplayMode(std::int32_t w, std::int32_t h, std::int32_t bpp) override;
  void RestoreDisplayMode() override { calls.push_back("RestoreDisplayMode"); }
  void ShowCursor(bool show) override { calls.push_back(show ? "ShowCursor 1" : "ShowCursor 0"); }
  void AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t exStyle) override;
  WindowHandle NewWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                         std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, InstanceHandle,
                         void* createParam) override;
  void DestroyWindow(WindowHandle) override { calls.push_back("DestroyWindow"); }
  void ShowWindow(WindowHandle) override { calls.push_back("ShowWindow"); }
  void SetWindowUserData(WindowHandle, void* data) override { userData = data; }
  void* GetWindowUserData(WindowHandle) override { return userData; }
  std::intptr_t DefaultProcessing(const Message& m) override;
  DeviceContext GetDC(WindowHandle) override;
  void ReleaseDC(WindowHandle, DeviceContext) override { calls.push_back("ReleaseDC"); }
  int ChoosePixelFormat(DeviceContext, const PixelFormatRequest& request) override;
  bool SetPixelFormat(DeviceContext, int format, const PixelFormatRequest&) override;
  GlContext CreateGlContext(DeviceContext) override;
  bool MakeCurrent(DeviceContext, GlContext context) override;
  void DeleteGlContext(GlContext) override { calls.push_back("DeleteGlContext"); }
  void SwapBuffers(DeviceContext) override { calls.push_back("SwapBuffers"); }
  bool PeekWindowMessage(WindowHandle window, Message& message) override;
  void DispatchWindowMessage(const Message& message) override;
  void WaitMessage() override;
  void PostQuit(WindowHandle window) override;
  std::uint32_t GetTickCount() override { return tick += 16; }
  void Sleep(std::uint32_t ms) override {
    calls.push_back("Sleep " + std::to_string(ms));
    if (onSleep) onSleep(ms);
  }
  std::optional<Bitmap> LoadBitmapResource(int id) override;
  void FreeBitmap(const Bitmap&) override { calls.push_back("FreeBitmap"); }
};

}  // namespace renderer::testing
