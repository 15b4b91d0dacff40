#include "saver/toolkit/win32/win32_application.h"

#include <algorithm>

#include "saver/common/code_page.h"
#include "saver/common/program_folder.h"
#include "saver/toolkit/win32/form.h"
#include "saver/toolkit/win32/picture.h"
#include "saver/toolkit/win32/process.h"
#include "saver/toolkit/win32/shell.h"
#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

constexpr int kTwipsPerInch = 1440;

int TwipsPerPixel(int capability) {
  ScreenDc screen;
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), capability) : 0;
  return dpi > 0 ? kTwipsPerInch / dpi : 15;
}

}  // namespace

std::wstring ArgumentsOf(std::wstring_view commandLine) {
  size_t i = 0;
  if (i < commandLine.size() && commandLine[i] == L'"') {
    size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
  return std::wstring(commandLine.substr(i));
}

Win32Application::Win32Application() : commandLine_(Narrow(ArgumentsOf(GetCommandLineW()))) {}

Win32Application::~Win32Application() {
  for (Win32Form* form : forms_) form->ForgetApplication();
}

std::string Win32Application::ProgramFolder() const { return common::ProgramFolder(); }

bool Win32Application::WindowExists(std::string_view title) {
  std::optional<std::string> ansi = common::Utf8ToAnsi(title);
  return ansi && FindWindowA(nullptr, ansi->c_str()) != nullptr;
}

bool Win32Application::Claim(std::string_view name) {
  // A named mutex in the session's namespace, held until the process ends.
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + Widen(name)).c_str());
  if (mutex == nullptr) return true;  // nothing to coordinate through
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  return true;
}

void Win32Application::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

void Win32Application::ShowMessageBox(std::string_view text, std::string_view caption) {
  // Shown text goes through the W function so that it reads right on any
  // Windows. Task-modal: the program's forms wait until it is closed.
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_TASKMODAL);
}

void Win32Application::EndProgram() { ExitProcess(0); }

void Win32Application::Dispatch(MSG& message) {
  if (!HandleTabKey(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::optional<int> Win32Application::PumpMessage() {
  MSG message{};
  if (watched_.empty()) {
    const int got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) return 0;
    Dispatch(message);
    return std::nullopt;
  }
  // Messages and the watched handles together: a process's end is heard
  // at once, between messages.
  std::vector<HANDLE> handles;
  for (const Watched& w : watched_) handles.push_back(w.handle);
  const DWORD count = static_cast<DWORD>(std::min<size_t>(handles.size(), MAXIMUM_WAIT_OBJECTS - 1));
  const DWORD woke =
      MsgWaitForMultipleObjectsEx(count, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (woke >= WAIT_OBJECT_0 && woke < WAIT_OBJECT_0 + count) {
    std::function<void()> signalled = std::move(watched_[woke - WAIT_OBJECT_0].signalled);
    watched_.erase(watched_.begin() + (woke - WAIT_OBJECT_0));
    if (signalled) signalled();
    return std::nullopt;
  }
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return std::nullopt;
  if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
  Dispatch(message);
  return std::nullopt;
}

void Win32Application::Watch(HANDLE handle, std::function<void()> signalled) {
  Unwatch(handle);
  watched_.push_back({handle, std::move(signalled)});
}

void Win32Application::Unwatch(HANDLE handle) {
  std::erase_if(watched_, [handle](const Watched& w) { return w.handle == handle; });
}

int Win32Application::RunEventLoop() {
  while (loadedForms_ > 0) {
    if (auto quit = PumpMessage()) return *quit;
  }
  return 0;
}

bool Win32Application::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  for (Win32Form* form : forms_) {
    if (form->Loaded() && form->Holds(message.hwnd))
      return form->MoveFocus(GetKeyState(VK_SHIFT) < 0);
  }
  return false;
}

void Win32Application::FormDestroyed(Win32Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

void Win32Application::FormUnloaded(Win32Form&) {
  if (loadedForms_ > 0) --loadedForms_;
  // Wakes a loop that waits for its last form.
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Win32Application::UnloadAll() {
  const std::vector<Win32Form*> forms = forms_;
  for (Win32Form* form : forms) {
    // A handler may have let go of a later form meanwhile.
    if (std::find(forms_.begin(), forms_.end(), form) != forms_.end()) form->Unload();
  }
}

std::unique_ptr<Form> Win32Application::CreateForm(FormEvents& events) {
  return std::make_unique<Win32Form>(*this, events);
}

int Win32Application::TwipsPerPixelX() const { return TwipsPerPixel(LOGPIXELSX); }
int Win32Application::TwipsPerPixelY() const { return TwipsPerPixel(LOGPIXELSY); }

Size Win32Application::ScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::optional<ScreenRect> Win32Application::WindowRect(WindowHandle window) {
  RECT r{};
  if (!window || !GetWindowRect(reinterpret_cast<HWND>(window), &r)) return std::nullopt;
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

std::optional<Point> Win32Application::CursorPosition() {
  POINT p{};
  if (!GetCursorPos(&p)) return std::nullopt;
  return Point{p.x, p.y};
}

WindowHandle Win32Application::WindowAtPoint(Point screen) {
  return reinterpret_cast<WindowHandle>(WindowFromPoint(POINT{screen.x, screen.y}));
}

void Win32Application::ZoomRects(WindowHandle window, const ScreenRect& from, const ScreenRect& to) {
  const RECT start{from.left, from.top, from.right, from.bottom};
  const RECT end{to.left, to.top, to.right, to.bottom};
  DrawAnimatedRects(reinterpret_cast<HWND>(window), IDANI_CAPTION, &start, &end);
}

PictureRef Win32Application::LoadPicture(std::span<const unsigned char> data) {
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data);
  if (data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0)
    return DecodeIco(data);
  return DecodeWithOle(data);
}

CursorRef Win32Application::LoadCursor(std::span<const unsigned char> data) { return DecodeCur(data); }

void Win32Application::SetBusyPointer(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

std::unique_ptr<Process> Win32Application::StartProgram(const std::string& path) {
  return StartWin32Program(*this, path);
}

namespace {

std::optional<Size> CurrentMode() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return std::nullopt;
  return Size{static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight)};
}

}  // namespace

void Win32Application::NoteDisplayMode() { notedMode_ = CurrentMode(); }

void Win32Application::RestoreDisplayMode(Size switched) {
  // The system does not say reliably that a dead process's switch is still
  // in force (Wine reports the old mode, and a killed process's code as 0),
  // and going back to the registry's mode, which a full-screen switch never
  // touches, changes nothing where the renderer or the system already did.
  if (!notedMode_ || *notedMode_ == switched) return;
  ChangeDisplaySettingsW(nullptr, 0);
}

std::int32_t Win32Application::OpenUrl(WindowHandle owner, std::string_view url) {
  return OpenWin32Url(owner, url);
}

OpenFileResult Win32Application::ChooseOpenFile(const OpenFileRequest& request) {
  return ChooseWin32OpenFile(request);
}

}  // namespace toolkit::win32
