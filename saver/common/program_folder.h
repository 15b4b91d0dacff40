#pragma once
#include <string>

namespace common {

// The folder of the running program as the system reports it: no trailing
// separator, except for a root folder ("/" or "C:\").
std::string ProgramFolder();

}  // namespace common
