// Tovarel.scr: everything starts in Main.
#include "saver/modes.h"
#include "saver/startup.h"

#ifdef _WIN32
#include <windows.h>

#include "saver/toolkit/win32/win32_application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  toolkit::win32::Win32Application app;
  saver::Main(app, saver::ProgramModes());
  return app.RunEventLoop();
}
#else
#include "saver/toolkit/qt/qt_application.h"

int main(int argc, char** argv) {
  toolkit::qt::QtApplication app(argc, argv);
  saver::Main(app, saver::ProgramModes());
  return app.RunEventLoop();
}
#endif
