#pragma once
// A seam font as a QFont, sized as GDI sizes a font of that many points.
#include <QFont>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

// dpi: the screen's logical dots per inch.
QFont MakeQFont(const Font& font, int dpi);

// Gives fontconfig the program's font aliases (the Windows names of the
// forms' fonts to the installed fonts of the same metrics), so that they
// hold from the build folder as well as installed. Before any font is made.
void LoadFontAliases();

// The primary screen's logical dots per inch; 96 without a screen.
int ScreenDpi();

}  // namespace toolkit::qt
