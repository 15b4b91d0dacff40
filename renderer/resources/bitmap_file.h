#pragma once
// Reads the 24-bit bottom-up Windows bitmaps the renderer embeds.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace renderer {

struct BitmapView {
  std::int32_t width = 0;
  std::int32_t height = 0;
  const std::uint8_t* rows = nullptr;  // bottom-up, B G R, rows padded to 4 bytes
};

// Only what the renderer can upload as it lies: 24 bits, uncompressed,
// bottom-up, rows complete. Anything else gives no picture.
std::optional<BitmapView> ParseBitmapFile(const std::uint8_t* data, std::size_t size);

// The embedded bitmap with the given resource id, if there is one.
std::optional<BitmapView> FindBitmapResource(int resourceId);

}  // namespace renderer
