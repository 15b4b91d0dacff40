#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace music {

// The text mciGetErrorString gives for an MCI error code; nullopt when the
// code has none.
std::optional<std::string_view> MciErrorText(std::uint32_t code);

}  // namespace music
