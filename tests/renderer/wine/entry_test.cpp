// The renderer's entry where Windows itself refuses a step: the real window
// logic and Win32 backend inside entry_check.exe.
#include <gtest/gtest.h>

#include "tests/renderer/wine/renderer_wine.h"

namespace renderer_wine {
namespace {

class RendererEntry : public RendererWineTest {};

TEST_F(RendererEntry, ClassAlreadyRegisteredGivesMinusOneAndNoWindow) {
  const auto run = Run(bin_.entry, {"class-taken"});
  // -1 as the process exit code, as Linux reports it.
  EXPECT_EQ(run.exitCode, 255) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "exit"), "-1");
  EXPECT_EQ(Field(fields, "created"), "") << "no window, no message box";
  EXPECT_EQ(Field(fields, "mode"), "1024,768,32") << "the display is not touched";
  EXPECT_EQ(Field(fields, "cursorcount"), "0");
}

TEST_F(RendererEntry, RefusedWindowEndsQuietlyWithCodeZeroAndTheDesktopBack) {
  const auto run = Run(bin_.entry, {"window-refused"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "exit"), "0");
  // One attempt at the renderer's window, and no message box after it.
  EXPECT_EQ(Field(fields, "created"), "OpenGL");
  // The switch had succeeded before the window was refused: it is undone,
  // and the hidden cursor shown again.
  EXPECT_EQ(Field(fields, "mode"), "1024,768,32");
  EXPECT_EQ(Field(fields, "cursorcount"), "0");
}

// At 150 % scaling (144 dpi) the renderer, declared per-monitor DPI aware
// by its manifest, gets its window and the mode in physical pixels.
TEST_F(RendererEntry, DeclaresItselfDpiAwareAndKeepsA1024x768ClientAt144Dpi) {
  const std::string desktop = "HKCU\\Control Panel\\Desktop";
  ASSERT_EQ(Run("reg", {"add", desktop, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f"}).exitCode, 0);
  const auto run = Run(bin_.entry, {"dpi"});
  Run("reg", {"delete", desktop, "/v", "LogPixels", "/f"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  // Wine treats every program as DPI aware; Windows goes by the manifest.
  EXPECT_EQ(Field(fields, "manifest"), "PerMonitorV2, PerMonitor");
  EXPECT_EQ(Field(fields, "awareness"), "2") << "per-monitor aware";
  EXPECT_EQ(Field(fields, "dpi"), "144");
  EXPECT_EQ(Field(fields, "client"), "1024,768");
  EXPECT_EQ(Field(fields, "mode"), "1024,768,32");
}

}  // namespace
}  // namespace renderer_wine
