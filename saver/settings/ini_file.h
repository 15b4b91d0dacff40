#pragma once
// Reading and replacing a whole profile file: POSIX calls on Linux, the W
// (UTF-16) file functions on Windows, so the file's bytes never pass through
// the system's code page.
#include <string>
#include <string_view>

namespace saver::ini {

enum class FileState { Loaded, Missing, Unreadable };

struct FileContent {
  FileState state = FileState::Missing;
  std::string bytes;
};

// Larger files are refused as unreadable rather than held in memory.
inline constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

FileContent LoadFile(const std::string& path);

// Writes a temporary file in the same folder and moves it over the target,
// so a failed write leaves the old file as it was. False when anything failed.
bool SaveFile(const std::string& path, std::string_view bytes);

}  // namespace saver::ini
