// The Command button of the Windows build under Wine: the real control on
// the Win32 toolkit paints every look exactly as the committed golden
// faces, retained and on screen, and places its caption where the logic
// says.
#include "tests/saver/wine/gui_wine_fixture.h"
#include "tests/saver/button/face_looks.h"
#include "tests/saver/support/bmp24.h"

namespace saver_gui_wine {
namespace {

using toolkit::raster::Image;

std::string Golden(const std::string& file) { return std::string(TOVAREL_BUTTON_GOLDEN_DIR) + "/" + file; }

int Differing(const Image& a, const Image& b, std::string& first) {
  int count = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.At(x, y) != b.At(x, y) && count++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d,%d) %06X instead of %06X", x, y, a.At(x, y), b.At(x, y));
        first = text;
      }
  return count;
}

class ButtonFacesWine : public GuiWineTest {
 protected:
  void SetUp() override {
    GuiWineTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const wine_harness::RunResult run =
        session->Run(Helper("button_faces.exe"), {wine_harness::WindowsPath(folder)}, kProgramSeconds);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    fields = wine_harness::ParseProbeFields(run.output);
    ASSERT_EQ(ProbeField(fields, "done"), "1") << run.output;
  }
  ProbeFields fields;
};

TEST_F(ButtonFacesWine, EveryLookEqualsItsGoldenFace) {
  int compared = 0;
  for (const auto& size : button::faces::kFaceSizes) {
    const int w = size.widthTwips / 15, h = size.heightTwips / 15;
    for (const auto& face : button::faces::FaceCases()) {
      const std::string file = button::faces::FaceFileName(face.name, w, h);
      const auto golden = testsupport::ReadBmp24(Golden(file));
      ASSERT_TRUE(golden) << file;
      for (const char* kind : {"face_", "shown_"}) {
        const std::string made = folder + "/" + kind + file.substr(5);
        const auto painted = testsupport::ReadBmp24(made);
        ASSERT_TRUE(painted) << made;
        ASSERT_EQ(painted->width, w) << made;
        ASSERT_EQ(painted->height, h) << made;
        std::string first;
        EXPECT_EQ(Differing(*painted, *golden, first), 0) << made << ": " << first;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 28);
}

TEST_F(ButtonFacesWine, CaptionSitsAtItsTopInItsLabelOnly) {
  // (375 - 195 - 20) / 2 = 80 twips and (315 - 195 - 20) / 2 = 50 twips.
  struct Case {
    const char* size;
    std::string label;
    int top;
  } cases[] = {{"77x25", "0,5,77,13", 5}, {"41x21", "0,3,41,13", 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(ProbeField(fields, std::string("label_") + c.size), c.label);
    const auto plain = testsupport::ReadBmp24(folder + "/shown_normal_" + c.size + ".bmp");
    const auto captioned = testsupport::ReadBmp24(folder + "/caption_" + c.size + ".bmp");
    ASSERT_TRUE(plain && captioned) << c.size;
    ASSERT_EQ(plain->width, captioned->width);
    // The text is ink on the face, inside the label's rows, centred.
    int ink = 0, outside = 0, left = plain->width, right = -1;
    for (int y = 0; y < plain->height; ++y)
      for (int x = 0; x < plain->width; ++x) {
        if (plain->At(x, y) == captioned->At(x, y)) continue;
        ++ink;
        if (y < c.top || y >= c.top + 13) ++outside;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    EXPECT_GT(ink, 20) << c.size;
    EXPECT_EQ(outside, 0) << c.size;
    EXPECT_LE(std::abs((left + right) - (plain->width - 1)), 3) << c.size << ": ink " << left << ".." << right;
  }
}

}  // namespace
}  // namespace saver_gui_wine
