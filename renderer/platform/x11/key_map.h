#pragma once
// X key symbols as the Windows virtual-key codes the window logic reads.
#include <cstdint>

namespace renderer {

// The unshifted key symbol of a key event and its key code. Keys without a
// virtual-key code give a value above 255, which the window logic ignores.
std::uintptr_t VirtualKeyOf(unsigned long keysym, unsigned int keycode);

}  // namespace renderer
