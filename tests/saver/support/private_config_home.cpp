// The saver's unit tests read and write settings through the system's rule,
// which looks for a per-user copy first: they get an empty folder of their
// own for it, so the tester's own settings never change their results.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

struct PrivateConfigHome {
  PrivateConfigHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovarel-config-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    path = pattern;
    setenv("XDG_CONFIG_HOME", path.c_str(), 1);
  }
  ~PrivateConfigHome() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  std::string path;
} privateConfigHome;

}  // namespace
