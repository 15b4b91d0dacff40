#include "saver/common/program_folder.h"

#include <unistd.h>

#include <string>

namespace common {

std::string ProgramFolder() {
  std::string path(4096, '\0');
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size()) return ".";
  path.resize(static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace common
