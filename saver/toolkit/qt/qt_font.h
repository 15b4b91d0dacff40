#pragma once
// A seam font as a QFont, sized as GDI sizes a font of that many points.
#include <QFont>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

// dpi: the screen's logical dots per inch.
QFont MakeQFont(const Font& font, int dpi);

// The primary screen's logical dots per inch; 96 without a screen.
int ScreenDpi();

}  // namespace toolkit::qt
