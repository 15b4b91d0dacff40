#pragma once
// Where Tovarel.ini is read and written. The programs' folder comes first and
// is used wherever it can be written. Where it cannot (a system-wide install)
// the same file is kept per user, and once that copy exists it is read and
// written instead: the rule Windows applies to old programs in protected
// folders.
#include <functional>
#include <string>

#include "saver/settings/paths.h"

namespace saver {

// The system's answers the rule asks for.
struct SettingsStore {
  // The folder of the per-user copy; "" when the system names none.
  std::function<std::string()> userFolder;
  std::function<bool(const std::string&)> fileExists;
  // Whether the file could be written now, replaced or created. Asking never
  // creates the file.
  std::function<bool(const std::string&)> canWrite;
  // Makes the folder and any missing parents; true when it exists afterwards.
  std::function<bool(const std::string&)> makeFolders;
  // Copies a file's bytes to a new file that the user can write.
  std::function<bool(const std::string& from, const std::string& to)> copyFile;
};

// The answers of this system.
SettingsStore SystemSettingsStore();

// The folder of the per-user copy on this system: $XDG_CONFIG_HOME/tovarel
// (default ~/.config/tovarel) on Linux, %APPDATA%\Tovarel on Windows.
std::string UserSettingsFolder();

struct SettingsLocation {
  std::string programFolder;
  PathSyntax syntax = kNativePathSyntax;
  SettingsStore store = SystemSettingsStore();
};

// The folder followed by the separator and "Tovarel.ini".
std::string IniFileIn(const std::string& folder, PathSyntax syntax);

// The file to read: the per-user copy when it exists, else the program
// folder's.
std::string IniFileToRead(const SettingsLocation& location);

// The file to write: the per-user copy when it exists; else the program
// folder's when it can be written; else the per-user copy, made now in its
// folder from the program folder's file (if any), so lines the program does
// not know are kept, as the system's own copy would keep them.
std::string IniFileToWrite(const SettingsLocation& location);

}  // namespace saver
