// The renderer's bitmaps: the committed files are what the generator makes,
// and they have the layout and content the renderer relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/tools/art_files.h"

namespace {

using namespace arttest;

int RunMakeArt(const std::string& arguments) { return RunTool(MAKE_ART_PATH, arguments); }

class ArtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = MakeScratch("tovarel-art");
    if (scratch_.empty()) return;
    // A folder that does not exist yet: the generator makes it.
    generated_ = scratch_ / "nested" / "out";
    status_ = RunMakeArt("\"" + generated_.string() + "\"");
  }

  static void TearDownTestSuite() {
    std::error_code error;
    if (!scratch_.empty()) fs::remove_all(scratch_, error);
  }

  void SetUp() override {
    ASSERT_FALSE(scratch_.empty()) << "no temporary folder";
    ASSERT_TRUE(ExitedWith(status_, 0)) << "make_art failed, status " << status_;
  }

  static Bytes Generated(const std::string& name) { return ReadAll(generated_ / name).value_or(Bytes{}); }
  static Bytes Committed(const std::string& name) {
    return ReadAll(fs::path(ART_RESOURCES_DIR) / name).value_or(Bytes{});
  }

  static inline fs::path scratch_;
  static inline fs::path generated_;
  static inline int status_ = -1;
};

struct Expected {
  const char* name;
  int width;
  int height;
};

constexpr Expected Pictures[] = {
    {"flyer_127.bmp", 128, 128},
    {"sky_123.bmp", 256, 256},
    {"blue_124.bmp", 256, 256},
};

TEST_F(ArtTest, CommittedBitmapsAreExactlyWhatTheGeneratorMakes) {
  for (const Expected& picture : Pictures) {
    SCOPED_TRACE(picture.name);
    const Bytes generated = Generated(picture.name);
    const Bytes committed = Committed(picture.name);
    ASSERT_FALSE(generated.empty());
    ASSERT_FALSE(committed.empty()) << "missing from " << ART_RESOURCES_DIR;
    ASSERT_EQ(generated.size(), committed.size());
    const std::size_t firstDifference = FirstDifference(generated, committed);
    EXPECT_EQ(firstDifference, generated.size()) << "bytes differ from offset " << firstDifference
                                                 << "; rerun tools/art/regenerate.sh";
  }
}

TEST_F(ArtTest, HeadersDescribeBottomUp24BitUncompressedRows) {
  for (const Expected& picture : Pictures) {
    SCOPED_TRACE(picture.name);
    const Bytes b = Committed(picture.name);
    ASSERT_GE(b.size(), 54u);
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size()) << "file size field";
    EXPECT_EQ(Le32(b, 10), 54u) << "pixel offset: 14-byte file header + 40-byte info header";
    EXPECT_EQ(Le32(b, 14), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(Le32Signed(b, 18), picture.width);
    EXPECT_EQ(Le32Signed(b, 22), picture.height) << "positive height means bottom-up rows";
    EXPECT_EQ(Le16(b, 26), 1u) << "planes";
    EXPECT_EQ(Le16(b, 28), 24u) << "bits per pixel";
    EXPECT_EQ(Le32(b, 30), 0u) << "BI_RGB";
    EXPECT_EQ(b.size(), 54 + stride * picture.height);
  }
}

TEST_F(ArtTest, PlainBlueIsPureBlueEverywhere) {
  const Bytes bytes = Committed("blue_124.bmp");
  const auto bmp = Parse(bytes);
  ASSERT_TRUE(bmp.has_value());
  int wrong = 0;
  for (int row = 0; row < bmp->height; ++row) {
    for (int x = 0; x < bmp->width; ++x) {
      const Rgb c = bmp->At(x, row);
      if (c.r != 0 || c.g != 0 || c.b != 255) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

// Flyer geometry in stored coordinates: u runs along the body diagonal from
// the lower-left corner (negative) to the upper-right corner (positive).
double AlongBody(int x, int row, int size) {
  const double half = size / 2.0;
  return ((x + 0.5 - half) + (row + 0.5 - half)) / std::sqrt(2.0);
}

class FlyerTest : public ArtTest {
 protected:
  void SetUp() override {
    ArtTest::SetUp();
    bytes_ = Committed("flyer_127.bmp");
    const auto parsed = Parse(bytes_);
    ASSERT_TRUE(parsed.has_value());
    bmp_ = *parsed;
    bmp_.bytes = &bytes_;
    ASSERT_EQ(bmp_.width, 128);
    ASSERT_EQ(bmp_.height, 128);
  }

  Bytes bytes_;
  Bitmap bmp_;
};

TEST_F(FlyerTest, BorderIsBlackSoMipmapsDoNotBleed) {
  int lit = 0;
  for (int row = 0; row < 128; ++row) {
    for (int x = 0; x < 128; ++x) {
      const int edge = std::min(std::min(x, row), std::min(127 - x, 127 - row));
      if (edge < 2 && !bmp_.At(x, row).Black()) ++lit;
    }
  }
  EXPECT_EQ(lit, 0);
}

TEST_F(FlyerTest, BodyRunsUpTheRisingDiagonalWithTheHeadAtTheUpperRight) {
  // The fold line: lit along its middle third.
  for (int i = 43; i < 85; ++i) EXPECT_FALSE(bmp_.At(i, i).Black()) << "diagonal pixel " << i;
  // The folding corners (upper-left, lower-right) are empty.
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE(bmp_.At(i, 127 - i).Black()) << "upper-left corner " << i;
    EXPECT_TRUE(bmp_.At(127 - i, i).Black()) << "lower-right corner " << i;
  }
  // The antennae reach far towards the upper-right corner; the tail does not
  // reach as far towards the lower-left one.
  int nearHead = 0;
  int nearTail = 0;
  for (int row = 0; row < 128; ++row) {
    for (int x = 0; x < 128; ++x) {
      if (bmp_.At(x, row).Black()) continue;
      const double u = AlongBody(x, row, 128);
      if (u > 60.0) ++nearHead;
      if (u < -60.0) ++nearTail;
    }
  }
  EXPECT_GT(nearHead, 20);
  EXPECT_EQ(nearTail, 0);
}

TEST_F(FlyerTest, GreenAndPurpleWingsOnBothSidesOfTheFold) {
  // Stored pixel (x, row) lies on the upper-left side of the body when x < row.
  int green[2] = {0, 0};
  int purple[2] = {0, 0};
  for (int row = 0; row < 128; ++row) {
    for (int x = 0; x < 128; ++x) {
      if (x == row) continue;
      const int side = x < row ? 0 : 1;
      const Rgb c = bmp_.At(x, row);
      if (c.g > c.r + 40 && c.g > c.b + 40) ++green[side];
      if (c.r > c.g + 40 && c.b > c.g + 40) ++purple[side];
    }
  }
  for (int side = 0; side < 2; ++side) {
    SCOPED_TRACE(side == 0 ? "upper-left side" : "lower-right side");
    EXPECT_GT(green[side], 800);
    EXPECT_GT(purple[side], 800);
  }
  EXPECT_NEAR(green[0], green[1], green[1] / 50);
  EXPECT_NEAR(purple[0], purple[1], purple[1] / 50);
}

TEST_F(FlyerTest, SidesMirrorEachOtherAcrossTheFold) {
  // Both wing pairs beat alike only if the halves are mirror images.
  int mismatched = 0;
  for (int row = 0; row < 128; ++row) {
    for (int x = 0; x < row; ++x) {
      const Rgb a = bmp_.At(x, row);
      const Rgb b = bmp_.At(row, x);
      if (std::abs(a.r - b.r) > 1 || std::abs(a.g - b.g) > 1 || std::abs(a.b - b.b) > 1) ++mismatched;
    }
  }
  EXPECT_EQ(mismatched, 0);
}

TEST_F(ArtTest, SkyIsMostlyBlueWithCloudsAndNoWhiteOut) {
  const Bytes bytes = Committed("sky_123.bmp");
  const auto bmp = Parse(bytes);
  ASSERT_TRUE(bmp.has_value());
  int blueDominant = 0;
  int cloudy = 0;
  int saturated = 0;
  double seam = 0.0;
  double neighbour = 0.0;
  const int total = bmp->width * bmp->height;
  for (int row = 0; row < bmp->height; ++row) {
    for (int x = 0; x < bmp->width; ++x) {
      const Rgb c = bmp->At(x, row);
      if (c.b > c.r + 60 && c.b > c.g + 30) ++blueDominant;
      if (c.r > 150 && c.g > 150) ++cloudy;
      if (c.r > 250 && c.g > 250 && c.b > 250) ++saturated;
    }
    const Rgb left = bmp->At(0, row);
    const Rgb next = bmp->At(1, row);
    const Rgb right = bmp->At(bmp->width - 1, row);
    seam += std::abs(left.r - right.r) + std::abs(left.g - right.g) + std::abs(left.b - right.b);
    neighbour += std::abs(left.r - next.r) + std::abs(left.g - next.g) + std::abs(left.b - next.b);
  }
  EXPECT_GT(blueDominant, total / 2) << "mostly sky";
  EXPECT_GT(cloudy, total / 20) << "clouds present";
  EXPECT_EQ(saturated, 0) << "added over another layer, white would burn out";
  // Tiles without a visible seam: across the wrap no worse than two steps inside.
  EXPECT_LE(seam, 2.0 * neighbour + bmp->height);
}

TEST(MakeArtCommandLine, RefusesMissingOrUnusableOutputFolder) {
  EXPECT_TRUE(ExitedWith(RunMakeArt(""), 2)) << "no argument";
  EXPECT_TRUE(ExitedWith(RunMakeArt("a b"), 2)) << "two arguments";
  EXPECT_TRUE(ExitedWith(RunMakeArt("\"\""), 2)) << "empty folder name";

  const fs::path pattern = MakeScratch("tovarel-art-file");
  ASSERT_FALSE(pattern.empty());
  const fs::path blocker = pattern / "plain-file";
  std::ofstream(blocker) << "not a folder";
  EXPECT_TRUE(ExitedWith(RunMakeArt("\"" + blocker.string() + "\""), 1)) << "output folder is a file";
  EXPECT_TRUE(ExitedWith(RunMakeArt("\"" + (blocker / "below").string() + "\""), 1)) << "below a file";
  std::error_code error;
  fs::remove_all(pattern, error);
}

}  // namespace
