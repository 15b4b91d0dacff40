#pragma once
// Pictures embedded in the saver program.
#include <span>

namespace saver::resources {

// The 152 x 112 still of the scene that the preview shows (BMP).
std::span<const unsigned char> PreviewPicture();

}  // namespace saver::resources
