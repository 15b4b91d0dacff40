// Tovarel.scr: everything starts in Main.
#include "saver/modes.h"
#include "saver/startup.h"
#include "saver/toolkit/qt/qt_application.h"

int main(int argc, char** argv) {
  toolkit::qt::QtApplication app(argc, argv);
  saver::Main(app, saver::ProgramModes());
  return app.RunEventLoop();
}
