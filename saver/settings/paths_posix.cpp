#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "saver/settings/paths.h"

namespace saver {

bool FileExists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == PathSeparator(PathSyntax::Posix)) name.pop_back();
  if (name.empty()) return false;
  // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
  int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  close(fd);
  return regular;
}

}  // namespace saver
