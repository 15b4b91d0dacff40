#include "renderer/platform/win32/win32_platform.h"

namespace renderer {
namespace {

// The procedure the window logic registered; Win32 calls the trampoline.
WindowProc registeredProc = nullptr;

// The size of DEVMODEA in the Windows headers the renderer was made for; the
// newer structure is larger, and the system reads only what dmSize says.
constexpr WORD ClassicDevModeSize = 148;
static_assert(sizeof(DEVMODEA) >= ClassicDevModeSize);

LRESULT CALLBACK Trampoline(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!registeredProc) return DefWindowProcA(hWnd, message, wParam, lParam);
  // The logic expects the creation parameter itself with WM_CREATE.
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    lParam = reinterpret_cast<LPARAM>(create ? create->lpCreateParams : nullptr);
  }
  return registeredProc(hWnd, message, wParam, lParam);
}

HWND AsWindow(WindowHandle window) { return static_cast<HWND>(window); }

constexpr const char* CoverClass = "TovarelCover";

// A click on a cover neither activates it nor reaches what lies below.
LRESULT CALLBACK CoverProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

struct MonitorSearch {
  RECT window;
  std::vector<RECT> others;
};

BOOL CALLBACK CollectOtherMonitor(HMONITOR, HDC, LPRECT area, LPARAM data) {
  auto& search = *reinterpret_cast<MonitorSearch*>(data);
  RECT overlap;
  if (!IntersectRect(&overlap, area, &search.window)) search.others.push_back(*area);
  return TRUE;
}
HDC AsDc(DeviceContext dc) { return static_cast<HDC>(dc); }

}  // namespace

PIXELFORMATDESCRIPTOR DescriptorOf(const PixelFormatRequest& request) {
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd.nVersion = 1;
  pfd.dwFlags = (request.drawToWindow ? PFD_DRAW_TO_WINDOW : 0) |
                (request.supportOpenGl ? PFD_SUPPORT_OPENGL : 0) | (request.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = request.colorBits;
  pfd.cDepthBits = request.depthBits;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

DEVMODEA DisplayModeOf(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
  DEVMODEA mode;
  ZeroMemory(&mode, sizeof(mode));
  mode.dmSize = ClassicDevModeSize;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  return mode;
}

bool Win32Platform::RegisterWindowClass(InstanceHandle instance, const char* className, WindowProc proc) {
  WNDCLASSEXA windowClass;
  ZeroMemory(&windowClass, sizeof(windowClass));
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = Trampoline;
  windowClass.hInstance = static_cast<HINSTANCE>(instance);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOWTEXT + 1));
  windowClass.lpszClassName = className;
  // Set first: the class may be used the moment it exists.
  WindowProc previous = registeredProc;
  registeredProc = proc;
  if (RegisterClassExA(&windowClass) != 0) return true;
  registeredProc = previous;
  return false;
}

void Win32Platform::UnregisterWindowClass(InstanceHandle instance, const char* className) {
  UnregisterClassA(className, static_cast<HINSTANCE>(instance));
}

bool Win32Platform::ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
  DEVMODEA mode = DisplayModeOf(width, height, bitsPerPixel);
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void Win32Platform::RestoreDisplayMode() { ChangeDisplaySettingsA(nullptr, 0); }

void Win32Platform::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

void Win32Platform::AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t exStyle) {
  RECT native{rect.left, rect.top, rect.right, rect.bottom};
  if (!AdjustWindowRectEx(&native, style, FALSE, exStyle)) return;
  rect = Rect{native.left, native.top, native.right, native.bottom};
}

WindowHandle Win32Platform::NewWindow(std::uint32_t exStyle, const char* className, const char* title,
                                      std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                                      std::int32_t height, InstanceHandle instance, void* createParam) {
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                         static_cast<HINSTANCE>(instance), createParam);
}

void Win32Platform::DestroyWindow(WindowHandle window) {
  Uncover();
  ::DestroyWindow(AsWindow(window));
}

void Win32Platform::ShowWindow(WindowHandle window) {
  if (GetWindowLongA(AsWindow(window), GWL_STYLE) & WS_POPUP) CoverOtherMonitors(AsWindow(window));
  ::ShowWindow(AsWindow(window), SW_NORMAL);
}

void Win32Platform::CoverOtherMonitors(HWND window) {
  MonitorSearch search{};
  if (!GetWindowRect(window, &search.window)) return;
  EnumDisplayMonitors(nullptr, nullptr, CollectOtherMonitor, reinterpret_cast<LPARAM>(&search));
  if (search.others.empty()) return;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA coverClass{};
  coverClass.cbSize = sizeof(coverClass);
  coverClass.lpfnWndProc = CoverProc;
  coverClass.hInstance = instance;
  coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  coverClass.lpszClassName = CoverClass;
  RegisterClassExA(&coverClass);  // fails harmlessly when already there
  for (const RECT& area : search.others) {
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClass, "", WS_POPUP,
                                 area.left, area.top, area.right - area.left, area.bottom - area.top, window,
                                 nullptr, instance, nullptr);
    if (!cover) continue;
    ::ShowWindow(cover, SW_SHOWNOACTIVATE);
    covers_.push_back(cover);
  }
}

void Win32Platform::Uncover() {
  for (HWND cover : covers_) ::DestroyWindow(cover);
  covers_.clear();
}

void Win32Platform::SetWindowUserData(WindowHandle window, void* data) {
  SetWindowLongPtrA(AsWindow(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
}

void* Win32Platform::GetWindowUserData(WindowHandle window) {
  return reinterpret_cast<void*>(GetWindowLongPtrA(AsWindow(window), GWLP_USERDATA));
}

std::intptr_t Win32Platform::DefaultProcessing(const Message& message) {
  return DefWindowProcA(AsWindow(message.hWnd), message.message, message.wParam, message.lParam);
}

DeviceContext Win32Platform::GetDC(WindowHandle window) { return ::GetDC(AsWindow(window)); }

void Win32Platform::ReleaseDC(WindowHandle window, DeviceContext dc) { ::ReleaseDC(AsWindow(window), AsDc(dc)); }

int Win32Platform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
  const PIXELFORMATDESCRIPTOR pfd = DescriptorOf(request);
  return ::ChoosePixelFormat(AsDc(dc), &pfd);
}

bool Win32Platform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
  const PIXELFORMATDESCRIPTOR pfd = DescriptorOf(request);
  return ::SetPixelFormat(AsDc(dc), format, &pfd) != FALSE;
}

GlContext Win32Platform::CreateGlContext(DeviceContext dc) { return wglCreateContext(AsDc(dc)); }

bool Win32Platform::MakeCurrent(DeviceContext dc, GlContext context) {
  return wglMakeCurrent(AsDc(dc), static_cast<HGLRC>(context)) != FALSE;
}

void Win32Platform::DeleteGlContext(GlContext context) { wglDeleteContext(static_cast<HGLRC>(context)); }

void Win32Platform::SwapBuffers(DeviceContext dc) { ::SwapBuffers(AsDc(dc)); }

bool Win32Platform::PeekWindowMessage(WindowHandle window, Message& message) {
  if (!PeekMessageA(&lastMessage_, AsWindow(window), 0, 0, PM_REMOVE)) return false;
  message = Message{lastMessage_.hwnd, lastMessage_.message, lastMessage_.wParam, lastMessage_.lParam};
  return true;
}

void Win32Platform::DispatchWindowMessage(const Message& message) {
  MSG native = lastMessage_;
  native.hwnd = AsWindow(message.hWnd);
  native.message = message.message;
  native.wParam = message.wParam;
  native.lParam = message.lParam;
  DispatchMessageA(&native);
}

void Win32Platform::WaitMessage() { ::WaitMessage(); }

void Win32Platform::PostQuit(WindowHandle window) { PostMessageA(AsWindow(window), WM_QUIT, 0, 0); }

std::uint32_t Win32Platform::GetTickCount() { return ::GetTickCount(); }

void Win32Platform::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::optional<Bitmap> Win32Platform::LoadBitmapResource(int resourceId) {
  HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0,
                            LR_CREATEDIBSECTION);
  if (!image) return std::nullopt;
  BITMAP description{};
  // The scene uploads the rows as 24-bit BGR; anything else is no picture.
  if (GetObjectA(image, sizeof(description), &description) != sizeof(description) || !description.bmBits ||
      description.bmBitsPixel != 24 || description.bmWidth <= 0 || description.bmHeight <= 0) {
    DeleteObject(image);
    return std::nullopt;
  }
  Bitmap bitmap;
  bitmap.width = description.bmWidth;
  bitmap.height = description.bmHeight;
  bitmap.bits = description.bmBits;
  bitmap.handle = image;
  return bitmap;
}

void Win32Platform::FreeBitmap(const Bitmap& bitmap) {
  if (bitmap.handle) DeleteObject(static_cast<HGDIOBJ>(bitmap.handle));
}

}  // namespace renderer
