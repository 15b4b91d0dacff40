#include "saver/toolkit/win32/windows_api.h"
#include <commdlg.h>

#include <vector>

#include "saver/toolkit/win32/com.h"
#include "saver/toolkit/win32/shell.h"
#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

// The file-name and file-title buffers, in characters.
constexpr DWORD kBufferSize = 255;

}  // namespace

OpenFileResult ChooseWin32OpenFile(const OpenFileRequest& request) {
  EnsureCom();
  // "description\0patterns\0\0"
  std::wstring filter = Widen(request.filterDescription);
  filter.push_back(L'\0');
  filter += Widen(request.filterPattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring title = Widen(request.title);
  const std::wstring folder = Widen(request.initialFolder);

  // The W function, so a path is not limited to the system's code page; the
  // settings file's own limit is the dialog's to check.
  std::vector<wchar_t> file(kBufferSize, L'\0');
  std::vector<wchar_t> fileTitle(kBufferSize, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kBufferSize;
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = kBufferSize;
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = 0;

  OpenFileResult result;
  result.result = GetOpenFileNameW(&dialog);
  if (result.result > 0) {
    file.back() = L'\0';
    result.path = Narrow(std::wstring_view(file.data()));
  }
  return result;
}

}  // namespace toolkit::win32
