#include "saver/toolkit/qt/qt_font.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {
namespace {

// The writing system a Windows character set stands for.
QFontDatabase::WritingSystem WritingSystemOf(int charset) {
  switch (charset) {
    case 128: return QFontDatabase::Japanese;
    case 129: return QFontDatabase::Korean;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 136: return QFontDatabase::TraditionalChinese;
    case 161: return QFontDatabase::Greek;
    case 177: return QFontDatabase::Hebrew;
    case 178: return QFontDatabase::Arabic;
    case 204: return QFontDatabase::Cyrillic;
    case 222: return QFontDatabase::Thai;
    default: return QFontDatabase::Any;
  }
}

}  // namespace

int ScreenDpi() {
  const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
  return dpi > 0 ? dpi : 96;
}

QFont MakeQFont(const Font& font, int dpi) {
  QFont result;
  QStringList families{FromUtf8(font.name)};
  // Where the named family is missing, GDI picks one of the character set;
  // the first installed family that writes its script stands in.
  QFontDatabase::WritingSystem system = WritingSystemOf(font.charset);
  if (system != QFontDatabase::Any) {
    const QStringList candidates = QFontDatabase::families(system);
    if (!candidates.isEmpty() && !families.contains(candidates.first())) {
      families.append(candidates.first());
    }
  }
  result.setFamilies(families);
  // GDI's height for a point size: -MulDiv(points, dpi, 72), whole pixels.
  int pixels = static_cast<int>(std::lround(font.size * (dpi > 0 ? dpi : 96) / 72.0));
  result.setPixelSize(pixels > 0 ? pixels : 1);
  result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight > 0 ? font.weight : 400, 1, 1000)));
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  result.setStrikeOut(font.strikethrough);
  result.setStyleStrategy(QFont::PreferDefault);
  return result;
}

}  // namespace toolkit::qt
