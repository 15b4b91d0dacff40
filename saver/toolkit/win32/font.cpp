#include "saver/toolkit/win32/font.h"

#include <cmath>
#include <cwchar>

#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {

GdiObject<HFONT> CreateGdiFont(const Font& font) {
  int dpi = 96;
  {
    ScreenDc screen;
    if (screen.Get()) dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  }
  LOGFONTW description{};
  // Negative: the character height, not the cell height, as point sizes mean.
  description.lfHeight = -static_cast<LONG>(std::lround(font.size * dpi / 72.0));
  description.lfWeight = font.weight;
  description.lfItalic = font.italic ? TRUE : FALSE;
  description.lfUnderline = font.underline ? TRUE : FALSE;
  description.lfStrikeOut = font.strikethrough ? TRUE : FALSE;
  description.lfCharSet = static_cast<BYTE>(font.charset);
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring name = Widen(font.name);
  std::wcsncpy(description.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  return GdiObject<HFONT>(CreateFontIndirectW(&description));
}

}  // namespace toolkit::win32
