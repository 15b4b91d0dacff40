#include <windows.h>

#include <string>

#include "saver/common/code_page.h"
#include "saver/settings/paths.h"

namespace saver {

bool FileExists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  if (name.empty()) return false;
  const std::optional<std::wstring> wide = common::Utf8ToWide(name);
  if (!wide || wide->empty()) return false;
  // Folders do not open without FILE_FLAG_BACKUP_SEMANTICS, so they fail here.
  HANDLE file = CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool regular = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return regular;
}

}  // namespace saver
