#include "saver/settings/ini_file.h"

#include <windows.h>

#include <optional>

#include "saver/common/code_page.h"

namespace saver::ini {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

FileContent LoadFile(const std::string& path) {
  FileContent content;
  const std::optional<std::wstring> wide = common::Utf8ToWide(path);
  if (!wide || wide->empty()) {
    content.state = FileState::Unreadable;
    return content;
  }
  Handle file(CreateFileW(wide->c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    content.state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                        ? FileState::Missing
                        : FileState::Unreadable;
    return content;
  }
  content.state = FileState::Unreadable;
  // A device or a pipe in place of the file is not read.
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return content;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) > kMaxFileBytes) {
    return content;
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(size.QuadPart));
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) return content;
    if (got == 0) break;
    if (bytes.size() + got > kMaxFileBytes) return content;
    bytes.append(chunk, got);
  }
  content.state = FileState::Loaded;
  content.bytes = std::move(bytes);
  return content;
}

bool SaveFile(const std::string& path, std::string_view bytes) {
  const std::optional<std::wstring> target = common::Utf8ToWide(path);
  if (!target || target->empty()) return false;
  // A read-only file stays as it is, as the system's profile functions leave it.
  const DWORD old = GetFileAttributesW(target->c_str());
  const bool hadFile = old != INVALID_FILE_ATTRIBUTES;
  if (hadFile && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;

  const size_t slash = target->find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : target->substr(0, slash + 1);
  const std::wstring name = slash == std::wstring::npos ? *target : target->substr(slash + 1);
  std::wstring temp;
  HANDLE made = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && made == INVALID_HANDLE_VALUE; ++attempt) {
    temp = folder + L"." + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(attempt);
    made = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (made == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  Handle file(made);
  if (!file.Valid()) return false;
  bool ok = WriteAll(file.Get(), bytes);
  ok = ok && FlushFileBuffers(file.Get());
  ok = file.Close() && ok;
  // Hidden or archive marks of the old file carry over to its replacement.
  if (ok && hadFile) SetFileAttributesW(temp.c_str(), old);
  ok = ok && MoveFileExW(temp.c_str(), target->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace saver::ini
