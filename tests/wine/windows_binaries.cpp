#include "tests/wine/windows_binaries.h"

#include <unistd.h>

#include <cstdlib>

namespace wine_harness {

std::string WindowsBinDir() {
  if (const char* dir = std::getenv("TOVAREL_WINDOWS_BIN_DIR"); dir && *dir) return dir;
#ifdef TOVAREL_WINDOWS_BIN_DIR
  return TOVAREL_WINDOWS_BIN_DIR;
#else
  return {};
#endif
}

std::optional<std::string> WindowsBinary(const std::string& fileName) {
  const std::string dir = WindowsBinDir();
  if (dir.empty()) return std::nullopt;
  const std::string path = dir + "/" + fileName;
  if (access(path.c_str(), R_OK) != 0) return std::nullopt;
  return path;
}

}  // namespace wine_harness
