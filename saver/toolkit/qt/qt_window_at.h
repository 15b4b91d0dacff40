#pragma once
// The window under a screen point below a window of this program, from Qt's
// own widget tree: the native windows as X stacks them, without asking the
// X server.
#include <QPoint>

#include "saver/toolkit/toolkit.h"

class QWidget;

namespace toolkit::qt {

// The deepest visible native window of `window` (or `window` itself) that
// holds the screen point.
WindowHandle DeepestNativeWindow(QWidget* window, QPoint screen);

}  // namespace toolkit::qt
