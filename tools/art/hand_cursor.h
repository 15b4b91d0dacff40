#pragma once
// The pointing hand shown over the dialog's web address: 32 x 32, black
// outline, white fill, the index finger's tip at the hot spot.
#include <array>
#include <cstdint>

namespace art {

constexpr int CursorSize = 32;
constexpr int HandHotSpotX = 12;
constexpr int HandHotSpotY = 10;

enum class CursorPixel : std::uint8_t { Clear, Black, White };

using CursorPicture = std::array<std::array<CursorPixel, CursorSize>, CursorSize>;  // [y][x], top down

CursorPicture MakeHandCursor();

}  // namespace art
