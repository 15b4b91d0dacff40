#include "renderer/resources/bitmap_file.h"

namespace renderer {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Read16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::int32_t MaxSide = 1 << 14;

}  // namespace

std::optional<BitmapView> ParseBitmapFile(const std::uint8_t* data, std::size_t size) {
  if (!data || size < FileHeaderSize + InfoHeaderSize) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t pixelOffset = Read32(data + 10);
  const std::uint8_t* info = data + FileHeaderSize;
  if (Read32(info) < InfoHeaderSize) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Read32(info + 4));
  const auto height = static_cast<std::int32_t>(Read32(info + 8));
  if (Read16(info + 12) != 1 || Read16(info + 14) != 24 || Read32(info + 16) != 0) return std::nullopt;
  if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) return std::nullopt;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t need = stride * static_cast<std::size_t>(height);
  if (pixelOffset < FileHeaderSize + InfoHeaderSize || pixelOffset > size || size - pixelOffset < need)
    return std::nullopt;
  return BitmapView{width, height, data + pixelOffset};
}

}  // namespace renderer
