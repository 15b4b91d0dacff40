#include "saver/settings/settings_location.h"

#include "saver/settings/settings.h"

namespace saver {
namespace {

std::string UserFolderOf(const SettingsLocation& location) {
  return location.store.userFolder ? location.store.userFolder() : std::string();
}

}  // namespace

std::string IniFileIn(const std::string& folder, PathSyntax syntax) {
  return folder + PathSeparator(syntax) + std::string(kIniFileName);
}

std::string IniFileToRead(const SettingsLocation& location) {
  const std::string folder = UserFolderOf(location);
  if (!folder.empty()) {
    std::string user = IniFileIn(folder, location.syntax);
    if (location.store.fileExists(user)) return user;
  }
  return IniFileIn(location.programFolder, location.syntax);
}

std::string IniFileToWrite(const SettingsLocation& location) {
  const std::string program = IniFileIn(location.programFolder, location.syntax);
  const std::string folder = UserFolderOf(location);
  if (folder.empty()) return program;
  const std::string user = IniFileIn(folder, location.syntax);
  if (location.store.fileExists(user)) return user;
  if (location.store.canWrite(program)) return program;
  // Without its folder the write fails as it would have in the program's
  // folder: silently, the values staying in memory.
  if (location.store.makeFolders(folder) &&
      location.store.fileExists(program)) {
    location.store.copyFile(program, user);
  }
  return user;
}

}  // namespace saver
