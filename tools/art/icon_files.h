#pragma once
// Windows cursor (.CUR) and icon (.ICO) files with one 32 x 32 image each:
// a directory entry, then the image as a bitmap of double height, the
// colour (XOR) rows and then the 1-bit AND mask, both bottom-up.
#include <array>
#include <cstdint>
#include <vector>

#include "tools/art/hand_cursor.h"

namespace art {

constexpr int IconSize = 32;

// Black and white with an AND mask; the hot spot goes into the directory
// entry, where a cursor keeps it.
std::vector<std::uint8_t> EncodeMonoCursor(const CursorPicture& picture, int hotSpotX, int hotSpotY);

struct PaletteColour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
};

struct PalettedIcon {
  std::array<PaletteColour, 256> palette{};
  std::array<std::uint8_t, IconSize * IconSize> index{};  // top down
  std::array<bool, IconSize * IconSize> clear{};          // shows what lies behind
};

// 8 bits per pixel, 256-entry palette. Clear pixels are written as index
// 0 under a set mask bit, so index 0 should be black.
std::vector<std::uint8_t> EncodeIcon8(const PalettedIcon& icon);

}  // namespace art
