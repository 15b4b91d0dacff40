#include <windows.h>
#include <shlobj.h>

#include <string>

#include "saver/common/code_page.h"
#include "saver/settings/settings_location.h"

namespace saver {
namespace {

std::wstring Widen(const std::string& utf8) { return common::Utf8ToWide(utf8).value_or(std::wstring()); }

// A file marked read-only, or one the user may not open for writing, is not
// written; where the file is missing, a probe file of another name shows
// whether the folder takes new files. The settings file itself is never made.
bool CanWrite(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  }
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND) return false;
  const std::wstring probe = wide + L"." + std::to_wstring(GetCurrentProcessId()) + L".probe";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return false;
  // Each prefix up to a separator; the drive ("C:") and a UNC server fail
  // harmlessly and are passed over.
  for (size_t slash = wide.find_first_of(L"\\/");; slash = wide.find_first_of(L"\\/", slash + 1)) {
    const std::wstring part = wide.substr(0, slash);
    if (!part.empty() && !IsFolder(part)) CreateDirectoryW(part.c_str(), nullptr);
    if (slash == std::wstring::npos) break;
  }
  return IsFolder(wide);
}

bool CopyFile(const std::string& from, const std::string& to) {
  const std::wstring source = Widen(from);
  const std::wstring target = Widen(to);
  if (source.empty() || target.empty()) return false;
  if (!CopyFileW(source.c_str(), target.c_str(), TRUE)) return false;
  // The copy must take the user's writes even when the original was read-only.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  return true;
}

}  // namespace

std::string UserSettingsFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  std::wstring path(folder);
  if (path.empty()) return {};
  if (path.back() == L'\\') path.pop_back();
  return common::WideToUtf8(path) + "\\Tovarel";
}

SettingsStore SystemSettingsStore() {
  SettingsStore store;
  store.userFolder = UserSettingsFolder;
  store.fileExists = FileExists;
  store.canWrite = CanWrite;
  store.makeFolders = MakeFolders;
  store.copyFile = CopyFile;
  return store;
}

}  // namespace saver
