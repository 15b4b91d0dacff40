#pragma once
// The entries of the three modes in this build of the program.
#include "saver/startup.h"

namespace saver {

ModeEntries ProgramModes();

}  // namespace saver
