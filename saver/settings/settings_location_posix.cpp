#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "saver/settings/ini_file.h"
#include "saver/settings/settings_location.h"

namespace saver {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  const passwd* entry = getpwuid(getuid());
  if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') return entry->pw_dir;
  return {};
}

bool Accessible(const std::string& path, int mode) {
  return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

// The file is replaced through a new file renamed over it in its folder (see
// ini_file_posix.cpp), so the folder must take new files; a file made
// read-only is left alone as the system's profile functions would leave it.
bool CanWrite(const std::string& path) {
  struct stat info;
  std::string target = path;
  if (lstat(path.c_str(), &info) == 0) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return false;
    target = resolved;
    if (stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (!Accessible(target, W_OK)) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  return Accessible(folder, W_OK | X_OK);
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    // Folders made for the user's settings are the user's alone.
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST && !IsFolder(part)) return false;
    if (slash == std::string::npos) break;
  }
  return IsFolder(path);
}

bool CopyFile(const std::string& from, const std::string& to) {
  ini::FileContent content = ini::LoadFile(from);
  if (content.state != ini::FileState::Loaded) return false;
  return ini::SaveFile(to, content.bytes);
}

}  // namespace

std::string UserSettingsFolder() {
  // A relative XDG_CONFIG_HOME is to be ignored.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/tovarel";
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return (home == "/" ? std::string() : home) + "/.config/tovarel";
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
