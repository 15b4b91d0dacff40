#include "saver/toolkit/qt/qt_font.h"

#include <fontconfig/fontconfig.h>

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "saver/toolkit/qt/files.h"
#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {
namespace {

// The language a Windows character set stands for; null for the rest.
const char* LanguageOf(int charset) {
  switch (charset) {
    case 128: return "ja";
    case 129: return "ko";
    case 134: return "zh-cn";
    case 136: return "zh-tw";
    case 161: return "el";
    case 177: return "he";
    case 178: return "ar";
    case 204: return "ru";
    case 222: return "th";
    default: return nullptr;
  }
}

// The family fontconfig picks for a name in a language: an alias of the
// name first, else the best installed font that writes the language.
QString MatchedFamily(const QString& family, const char* language) {
  static QHash<QString, QString> known;
  const QString key = family + QLatin1Char('\n') + QLatin1String(language);
  if (auto it = known.constFind(key); it != known.constEnd()) return *it;
  QString matched;
  FcPattern* pattern = FcPatternCreate();
  const QByteArray name = family.toUtf8();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* found = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch) {
      matched = QString::fromUtf8(reinterpret_cast<const char*>(found));
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  known.insert(key, matched);
  return matched;
}

}  // namespace

void LoadFontAliases() {
  static bool loaded = false;
  if (loaded || !FcInit()) return;
  loaded = true;
  const auto aliases = files::FontAliases();
  const std::string conf(reinterpret_cast<const char*>(aliases.data()), aliases.size());
  FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(conf.c_str()), FcFalse);
}

int ScreenDpi() {
  const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : 96;
  return dpi > 0 ? dpi : 96;
}

QFont MakeQFont(const Font& font, int dpi) {
  // With the first font, not at start: a run shows no text.
  LoadFontAliases();
  QFont result;
  QStringList families{FromUtf8(font.name)};
  // Where the named family is missing, GDI picks one of the character set:
  // fontconfig's choice for the name in its language stands in (the
  // program's aliases give the Windows names their metric twins).
  if (const char* language = LanguageOf(font.charset)) {
    const QString stand = MatchedFamily(families.first(), language);
    if (!stand.isEmpty() && !families.contains(stand)) families.append(stand);
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
