#pragma once
// The six 64 x 25 state pictures of the button (BMP), embedded.
#include <span>

#include "saver/button/command.h"

namespace button {

std::span<const unsigned char> StateImage(Look look);

}  // namespace button
