// Tovarel.scr on Windows: everything starts in Main.
// The seam's headers come before <windows.h>: its macros (LoadCursor...)
// would rename the seam's functions.
#include "saver/modes.h"
#include "saver/startup.h"

#include <windows.h>

#include "saver/toolkit/win32/win32_application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  toolkit::win32::Win32Application app;
  saver::Main(app, saver::ProgramModes());
  return app.RunEventLoop();
}
