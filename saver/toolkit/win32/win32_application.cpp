#include "saver/toolkit/win32/win32_application.h"

#include <windows.h>

#include <optional>

#include "saver/common/code_page.h"
#include "saver/common/program_folder.h"

namespace toolkit::win32 {
namespace {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
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

std::string Win32Application::ProgramFolder() const { return common::ProgramFolder(); }

bool Win32Application::WindowExists(std::string_view title) {
  std::optional<std::string> ansi = common::Utf8ToAnsi(title);
  return ansi && FindWindowA(nullptr, ansi->c_str()) != nullptr;
}

void Win32Application::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

void Win32Application::ShowMessageBox(std::string_view text, std::string_view caption) {
  // Shown text goes through the W function so that it reads right on any Windows.
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
}

void Win32Application::EndProgram() { ExitProcess(0); }

int Win32Application::RunEventLoop() {
  if (loadedForms_ == 0) return 0;
  MSG message{};
  int got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got < 0 ? 0 : static_cast<int>(message.wParam);
}

}  // namespace toolkit::win32
