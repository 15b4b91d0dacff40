#pragma once
// Median cut: chooses up to N colours for a set of pixels and maps each
// pixel to the nearest of them. Integer arithmetic and stable tie rules
// throughout, so the same pixels always give the same palette.
#include <cstdint>
#include <vector>

#include "tools/art/icon_files.h"

namespace art {

struct Quantized {
  std::vector<PaletteColour> palette;
  std::vector<std::uint8_t> index;  // one per pixel, into palette
};

// `colours` from 1 to 256.
Quantized MedianCut(const std::vector<PaletteColour>& pixels, int colours);

}  // namespace art
