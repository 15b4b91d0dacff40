#pragma once
#include <cstdint>

namespace renderer {

// The Windows virtual-key code of an SDL key. Keys Windows has no code for
// get a value above 255, which the window logic passes to default processing.
std::uintptr_t VirtualKeyOf(std::int32_t sdlKeycode, std::int32_t sdlScancode);

}  // namespace renderer
