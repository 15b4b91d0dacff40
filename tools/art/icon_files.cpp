#include "tools/art/icon_files.h"

#include <cstddef>

namespace art {
namespace {

constexpr std::uint32_t DirectorySize = 6 + 16;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t MaskRowBytes = IconSize / 8;  // 4: already a multiple of 4

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// `type` 1 icon, 2 cursor; for a cursor `planesOrHotX` and `bitsOrHotY`
// carry the hot spot.
void PutDirectory(std::vector<std::uint8_t>& out, std::uint32_t type, std::uint8_t colours, std::uint32_t planesOrHotX,
                  std::uint32_t bitsOrHotY, std::uint32_t imageBytes) {
  Put16(out, 0);
  Put16(out, type);
  Put16(out, 1);  // one image
  out.push_back(IconSize);
  out.push_back(IconSize);
  out.push_back(colours);  // 0 stands for 256 or more
  out.push_back(0);
  Put16(out, planesOrHotX);
  Put16(out, bitsOrHotY);
  Put32(out, imageBytes);
  Put32(out, DirectorySize);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, std::uint32_t bits, std::uint32_t paletteSize,
                   std::uint32_t pixelBytes) {
  Put32(out, InfoHeaderSize);
  Put32(out, IconSize);
  Put32(out, IconSize * 2);  // the colour rows and the mask
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);  // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, paletteSize);
  Put32(out, 0);
}

// Rows of 1-bit values, bottom-up, most significant bit leftmost.
template <typename Bit>
void PutBitRows(std::vector<std::uint8_t>& out, Bit bit) {
  for (int y = IconSize - 1; y >= 0; --y) {
    for (std::uint32_t byte = 0; byte < MaskRowBytes; ++byte) {
      std::uint8_t value = 0;
      for (int b = 0; b < 8; ++b) {
        if (bit(static_cast<int>(byte) * 8 + b, y)) value |= static_cast<std::uint8_t>(0x80 >> b);
      }
      out.push_back(value);
    }
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeMonoCursor(const CursorPicture& picture, int hotSpotX, int hotSpotY) {
  const auto at = [&picture](int x, int y) {
    return picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
  };
  const std::uint32_t maskBytes = MaskRowBytes * IconSize;
  const std::uint32_t imageBytes = InfoHeaderSize + 2 * 4 + 2 * maskBytes;
  std::vector<std::uint8_t> out;
  PutDirectory(out, 2, 2, static_cast<std::uint32_t>(hotSpotX), static_cast<std::uint32_t>(hotSpotY), imageBytes);
  PutInfoHeader(out, 1, 2, 2 * maskBytes);
  Put32(out, 0x000000);  // index 0 black
  Put32(out, 0xFFFFFF);  // index 1 white
  // Screen = (screen AND mask) XOR colour: white needs colour 1 under a
  // clear mask bit; clear pixels have mask 1 and colour 0.
  PutBitRows(out, [&](int x, int y) { return at(x, y) == CursorPixel::White; });
  PutBitRows(out, [&](int x, int y) { return at(x, y) == CursorPixel::Clear; });
  return out;
}

std::vector<std::uint8_t> EncodeIcon8(const PalettedIcon& icon) {
  const std::uint32_t pixelBytes = IconSize * IconSize;
  const std::uint32_t maskBytes = MaskRowBytes * IconSize;
  const std::uint32_t imageBytes = InfoHeaderSize + 256 * 4 + pixelBytes + maskBytes;
  std::vector<std::uint8_t> out;
  PutDirectory(out, 1, 0, 1, 8, imageBytes);
  PutInfoHeader(out, 8, 256, pixelBytes + maskBytes);
  for (const PaletteColour& c : icon.palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = IconSize - 1; y >= 0; --y) {
    for (int x = 0; x < IconSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * IconSize + x;
      out.push_back(icon.clear[i] ? 0 : icon.index[i]);
    }
  }
  PutBitRows(out, [&](int x, int y) { return icon.clear[static_cast<std::size_t>(y) * IconSize + x]; });
  return out;
}

}  // namespace art
