#pragma once
// 24-bit BMP files (BI_RGB, bottom-up rows padded to four bytes) to and
// from raster images: the button's state pictures and the golden faces.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "saver/toolkit/raster/raster.h"

namespace testsupport {

// Nothing for anything but an uncompressed 24-bit BMP (top-down allowed).
std::optional<toolkit::raster::Image> DecodeBmp24(std::span<const unsigned char> data);
std::vector<unsigned char> EncodeBmp24(const toolkit::raster::Image& image);

std::optional<toolkit::raster::Image> ReadBmp24(const std::string& path);
bool WriteBmp24(const std::string& path, const toolkit::raster::Image& image);

}  // namespace testsupport
