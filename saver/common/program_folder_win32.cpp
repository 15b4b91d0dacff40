#include <windows.h>

#include <string>

#include "saver/common/code_page.h"
#include "saver/common/program_folder.h"

namespace common {

std::string ProgramFolder() {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return ".";
  path.resize(length);
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return ".";
  // A drive root keeps its backslash ("C:\"), as the system reports it.
  path.resize(slash > 0 && path[slash - 1] == L':' ? slash + 1 : slash);
  return WideToUtf8(path);
}

}  // namespace common
