// The toolkit's X11 tests: a private Xvfb whose frame buffer is also a file
// (so that the tests can see the pointer), and the Qt application on it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/saver/support/temp_dir.h"
#include "tests/saver/toolkit/x11_fixture.h"
#include "tests/support/xvfb_server.h"

int main(int argc, char** argv) {
  unsetenv("QT_QPA_PLATFORM");
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no display
  testsupport::TempDir frameBuffer;
  testsupport::XvfbServer xvfb("1024x768x24", {"-fbdir", frameBuffer.Path()});
  if (!xvfb.Running()) return 1;
  toolkittest::SetFrameBufferFile(frameBuffer.File("Xvfb_screen0"));
  toolkit::qt::QtApplication app(argc, argv);
  if (app.Gui() == nullptr) return 1;
  toolkittest::SetApp(&app);
  return RUN_ALL_TESTS();
}
