#pragma once
// Reading and replacing a whole profile file on a POSIX file system.
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

// Writes a temporary file in the same folder and renames it over the target,
// so a failed write leaves the old file as it was. False when anything failed.
bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace saver::ini
