#pragma once
// GDI fonts made from the program's font descriptions.
#include "saver/toolkit/win32/windows_api.h"

#include "saver/toolkit/toolkit.h"
#include "saver/toolkit/win32/gdi_object.h"

namespace toolkit::win32 {

// The size in points becomes a character height in pixels through the
// screen's LOGPIXELSY.
GdiObject<HFONT> CreateGdiFont(const Font& font);

}  // namespace toolkit::win32
