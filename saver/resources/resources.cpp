#include "saver/resources/resources.h"

#include <cstddef>

extern const unsigned char kPreviewBmp[];
extern const std::size_t kPreviewBmpSize;

namespace saver::resources {

std::span<const unsigned char> PreviewPicture() { return {kPreviewBmp, kPreviewBmpSize}; }

}  // namespace saver::resources
