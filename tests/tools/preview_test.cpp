// The preview still: make_preview's cut and shrink of a frame, its command
// line, and the committed picture.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/art_files.h"
#include "tools/xclient/png_file.h"

namespace {

using namespace arttest;

class MakePreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = MakeScratch("tovarel-preview");
    ASSERT_FALSE(scratch_.empty());
    // 1024 x 768: black and white checks left of x = 512, blue right of it.
    xclient::Image frame{1024, 768, {}};
    for (int y = 0; y < 768; ++y) {
      for (int x = 0; x < 1024; ++x) {
        const std::uint8_t grey = (x + y) % 2 ? 255 : 0;
        frame.rgb.push_back(x < 512 ? grey : 0);
        frame.rgb.push_back(x < 512 ? grey : 0);
        frame.rgb.push_back(x < 512 ? grey : 220);
      }
    }
    ASSERT_TRUE(xclient::WritePng((scratch_ / "frame.png").string(), frame));
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(scratch_, error);
  }
  int MakePreview(const std::string& arguments) { return RunTool(MAKE_PREVIEW_PATH, arguments); }
  std::string Frame() const { return Quoted(scratch_ / "frame.png"); }
  fs::path scratch_;
};

TEST_F(MakePreviewTest, ShrinksTheRectangleByAreaOnSquaredValues) {
  struct Case {
    const char* rectangle;  // left, top, width, sharpening
    Rgb everywhere;
  };
  const Case cases[] = {
      {"512 100 304 0.5", {0, 0, 220}},  // only the blue half lies in it
      {"600.5 20.25 400 0.5", {0, 0, 220}},  // cut pixels count by their share; flat stays flat
      {"0 0 304 0", {180, 180, 180}},  // half the light: 180 in gamma-2 bytes, not 128
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.rectangle);
    const fs::path out = scratch_ / "preview.bmp";
    ASSERT_TRUE(ExitedWith(MakePreview(Frame() + " " + Quoted(out) + " " + test.rectangle), 0));
    const Bytes bytes = ReadAll(out).value_or(Bytes{});
    const auto bmp = Parse(bytes);
    ASSERT_TRUE(bmp.has_value());
    ASSERT_EQ(bmp->width, 152);
    ASSERT_EQ(bmp->height, 112);
    int wrong = 0;
    for (int row = 0; row < 112; ++row) {
      for (int x = 0; x < 152; ++x) wrong += !(bmp->At(x, row) == test.everywhere);
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(MakePreviewTest, RefusesBadArgumentsAndRectanglesOutsideTheFrame) {
  const std::string out = Quoted(scratch_ / "out.bmp");
  EXPECT_TRUE(ExitedWith(MakePreview(""), 2));
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " 0 0 152"), 2)) << "no sharpening amount";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " 0 0 wide 0"), 2)) << "not a number";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " 0 0 152 9"), 2)) << "sharpening out of range";
  EXPECT_TRUE(ExitedWith(MakePreview(Quoted(scratch_ / "none.png") + " " + out + " 0 0 152 0"), 1)) << "no frame";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " -1 0 152 0"), 1)) << "left of the frame";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " 0 0 1100 0"), 1)) << "wider than the frame";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + out + " 0 700 152 0"), 1)) << "below the frame";
  EXPECT_FALSE(fs::exists(scratch_ / "out.bmp")) << "nothing written on failure";
  EXPECT_TRUE(ExitedWith(MakePreview(Frame() + " " + Quoted(scratch_ / "no" / "out.bmp") + " 0 0 152 0"), 1));
}

TEST(CommittedPreview, IsAStillOfTheCloudySkyWithFlyers) {
  const Bytes bytes = ReadAll(fs::path(SAVER_SOURCE_DIR) / "resources" / "preview.bmp").value_or(Bytes{});
  const auto bmp = Parse(bytes);
  ASSERT_TRUE(bmp.has_value());
  ASSERT_EQ(bmp->width, 152);
  ASSERT_EQ(bmp->height, 112);
  EXPECT_EQ(bytes.size(), 54u + 456u * 112u);
  int sky = 0;
  int cloud = 0;
  int cyan = 0;
  int violet = 0;
  for (int row = 0; row < 112; ++row) {
    for (int x = 0; x < 152; ++x) {
      const Rgb c = bmp->At(x, row);
      sky += c.b > 200 && c.r < 90 && c.g < 120;
      cloud += c.r > 150 && c.g > 150 && c.b > 220 && std::abs(c.r - c.g) < 25;
      cyan += c.g > c.r + 80 && c.g > 170;
      violet += c.r > c.g + 30 && c.b > 200;
    }
  }
  const int total = 152 * 112;
  EXPECT_GT(sky, total / 3) << "blue sky";
  EXPECT_GT(cloud, total / 20) << "clouds";
  EXPECT_GT(cyan, 40) << "green wings, cyan over the blue";
  EXPECT_GT(violet, 40) << "purple wings";
}

}  // namespace
