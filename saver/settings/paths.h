#pragma once
// Path helpers around the settings file and the music file.
#include <string>
#include <string_view>

namespace saver {

// Windows paths split at ":" and "\", POSIX paths at "/".
enum class PathSyntax { Windows, Posix };

#ifdef _WIN32
inline constexpr PathSyntax kNativePathSyntax = PathSyntax::Windows;
#else
inline constexpr PathSyntax kNativePathSyntax = PathSyntax::Posix;
#endif

constexpr char PathSeparator(PathSyntax syntax) {
  return syntax == PathSyntax::Windows ? '\\' : '/';
}

// True exactly when the named file can be opened for reading. A trailing
// separator is dropped first; folders, devices and pipes are no files.
bool FileExists(const std::string& path);

// The folder part of a path without a trailing separator: C:\Music\a.mp3 ->
// C:\Music, C:\a.mp3 -> C:, /music/a.mp3 -> /music, /a.mp3 -> /, a.mp3 -> "".
std::string FolderOf(std::string_view path, PathSyntax syntax = kNativePathSyntax);

}  // namespace saver
