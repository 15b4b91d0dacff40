#pragma once
// Small conversions between the seam's types and Qt's, and the one way the
// backend calls program code.
#include <QColor>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
  QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

inline QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}

// 0x00BBGGRR to the raster images' 0x00RRGGBB.
inline std::uint32_t ToRasterRgb(Colour colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

inline QRect ToQRect(const PixelRect& rect) { return QRect(rect.x, rect.y, rect.width, rect.height); }

// Program code runs only through this: nothing it throws may cross Qt's
// event loop.
template <class Function, class... Args>
void Invoke(const Function& function, Args&&... args) {
  if constexpr (std::is_constructible_v<bool, const Function&>) {
    if (!static_cast<bool>(function)) return;
  }
  try {
    function(std::forward<Args>(args)...);
  } catch (...) {
  }
}

}  // namespace toolkit::qt
