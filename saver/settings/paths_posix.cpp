#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "saver/settings/paths.h"

namespace saver {

bool FileExists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == PathSeparator(PathSyntax::Posix)) name.pop_back();
  if (name.empty()) return false;
  // Only a regular file is opened at all: opening a device or a FIFO that a
  // settings file names can have effects of its own, or wait for a writer.
  struct stat info;
  if (stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  close(fd);
  return regular;
}

}  // namespace saver
