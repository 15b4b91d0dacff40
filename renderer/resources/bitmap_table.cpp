#include <string>

#include "renderer/resources/bitmap_file.h"
#include "renderer/resources/bitmaps.h"

namespace renderer {

std::optional<BitmapView> FindBitmapResource(int resourceId) {
  const auto bytes = bitmaps::Find(std::to_string(resourceId));
  if (bytes.empty()) return std::nullopt;
  return ParseBitmapFile(bytes.data(), bytes.size());
}

}  // namespace renderer
