#include "saver/toolkit/win32/windows_api.h"
#include <commdlg.h>

#include <vector>

#include "saver/common/code_page.h"
#include "saver/toolkit/win32/com.h"
#include "saver/toolkit/win32/shell.h"
#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

// The file-name and file-title buffers, in characters.
constexpr DWORD kBufferSize = 255;

}  // namespace

std::string ShownTextToAnsi(std::string_view utf8) {
  if (auto exact = common::Utf8ToAnsi(utf8)) return *exact;
  const std::wstring wide = Widen(utf8);
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length,
                      nullptr, nullptr);
  return ansi;
}

OpenFileResult ChooseWin32OpenFile(const OpenFileRequest& request) {
  EnsureCom();
  // "description\0patterns\0\0"
  std::string filter = ShownTextToAnsi(request.filterDescription);
  filter.push_back('\0');
  filter += ShownTextToAnsi(request.filterPattern);
  filter.push_back('\0');
  filter.push_back('\0');
  const std::string title = ShownTextToAnsi(request.title);
  // A folder the code page cannot name is not replaced by a look-alike.
  const std::optional<std::string> folder = common::Utf8ToAnsi(request.initialFolder);

  std::vector<char> file(kBufferSize, '\0');
  std::vector<char> fileTitle(kBufferSize, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
  dialog.hInstance = GetModuleHandleA(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kBufferSize;
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = kBufferSize;
  dialog.lpstrInitialDir = folder && !folder->empty() ? folder->c_str() : nullptr;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = 0;

  OpenFileResult result;
  result.result = GetOpenFileNameA(&dialog);
  if (result.result > 0) {
    file.back() = '\0';
    result.path = common::AnsiToUtf8Lossy(std::string_view(file.data()));
  }
  return result;
}

}  // namespace toolkit::win32
