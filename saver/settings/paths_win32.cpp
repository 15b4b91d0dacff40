#include <windows.h>

#include <string>

#include "saver/settings/paths.h"

namespace saver {

bool FileExists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  if (name.empty()) return false;
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(),
                                   static_cast<int>(name.size()), nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()),
                      wide.data(), length);
  // Folders do not open without FILE_FLAG_BACKUP_SEMANTICS, so they fail here.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool regular = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return regular;
}

}  // namespace saver
