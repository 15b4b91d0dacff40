#include "saver/toolkit/common/label_properties.h"

#include <algorithm>

namespace toolkit {

std::vector<std::string_view> LabelProperties::Lines(std::string_view caption) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '\r' && caption[i] != '\n') continue;
    lines.push_back(caption.substr(start, i - start));
    if (caption[i] == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(caption.substr(start));
  return lines;
}

void LabelProperties::SetCaption(std::string_view text) {
  caption_ = std::string(text);
  Fit();
  if (hooks_.changed) hooks_.changed();
}

void LabelProperties::SetFont(const Font& font) {
  font_ = font;
  if (hooks_.fontChanged) hooks_.fontChanged(font_);
  Fit();
  if (hooks_.changed) hooks_.changed();
}

void LabelProperties::SetForeColour(Colour colour) {
  foreColour_ = colour;
  if (hooks_.changed) hooks_.changed();
}

void LabelProperties::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  if (hooks_.changed) hooks_.changed();
}

void LabelProperties::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  Fit();
  if (hooks_.changed) hooks_.changed();
}

void LabelProperties::SetBorder(bool border) {
  border_ = border;
  Fit();
  if (hooks_.changed) hooks_.changed();
}

PixelRect LabelProperties::Placed(const PixelRect& requested, const PixelRect& current) const {
  if (!autoSize_) return requested;
  return {requested.x, requested.y, current.width, current.height};
}

PixelRect LabelProperties::TextArea(const PixelRect& bounds) const {
  if (!border_) return bounds;
  return {bounds.x + kBorderInset, bounds.y + kBorderInset, std::max(bounds.width - 2 * kBorderInset, 0),
          std::max(bounds.height - 2 * kBorderInset, 0)};
}

void LabelProperties::Fit() {
  if (!autoSize_ || !hooks_.lineWidth || !hooks_.lineHeight) return;
  const std::vector<std::string_view> lines = Lines(caption_);
  int width = 0;
  for (std::string_view line : lines) width = std::max(width, hooks_.lineWidth(line));
  const int inset = border_ ? 2 * kBorderInset : 0;
  const Size size{width + inset, hooks_.lineHeight() * static_cast<int>(lines.size()) + inset};
  if (hooks_.resize) hooks_.resize(size);
}

}  // namespace toolkit
