#pragma once
// Windows BMP files as the renderer's resources hold them: 24 bits per
// pixel, BI_RGB, bottom-up rows padded to 4 bytes, bytes in B, G, R order.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/art/image.h"

namespace art {

// Channel value 0..1 to a byte, rounded to nearest; out-of-range values clip.
std::uint8_t ToByte(double value);

std::vector<std::uint8_t> EncodeBmp24(const Image& image);

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace art
