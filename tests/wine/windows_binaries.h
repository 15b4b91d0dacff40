#pragma once
// Where the tests find the programs of the Windows build.
#include <optional>
#include <string>

namespace wine_harness {

// The folder the tests were configured with (TOVAREL_WINDOWS_BIN_DIR), or
// $TOVAREL_WINDOWS_BIN_DIR when set.
std::string WindowsBinDir();
// The program's full path when it has been built.
std::optional<std::string> WindowsBinary(const std::string& fileName);

}  // namespace wine_harness
