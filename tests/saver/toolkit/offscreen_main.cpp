// The toolkit's unit tests run on Qt's offscreen platform: no X server.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/saver/toolkit/toolkit_fixture.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no display
  toolkit::qt::QtApplication app(argc, argv);
  if (app.Gui() == nullptr) return 1;
  toolkittest::SetApp(&app);
  return RUN_ALL_TESTS();
}
