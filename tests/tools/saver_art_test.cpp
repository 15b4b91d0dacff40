// The saver program's pictures: the committed files are what make_saver_art
// makes, the button pictures carry their frame colours, and the markers,
// hand cursor and icon are files of the kinds Windows loads, showing what
// they should.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/tools/art_files.h"

namespace {

using namespace arttest;

class SaverArtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = MakeScratch("tovarel-saver-art");
    if (!scratch_.empty()) status_ = RunTool(MAKE_SAVER_ART_PATH, Quoted(scratch_ / "saver"));
  }
  static void TearDownTestSuite() {
    std::error_code error;
    if (!scratch_.empty()) fs::remove_all(scratch_, error);
  }
  void SetUp() override {
    ASSERT_FALSE(scratch_.empty()) << "no temporary folder";
    ASSERT_TRUE(ExitedWith(status_, 0)) << "make_saver_art failed, status " << status_;
  }
  static Bytes Committed(const fs::path& file) {
    return ReadAll(fs::path(SAVER_SOURCE_DIR) / file).value_or(Bytes{});
  }
  static Bytes Button(const char* name) { return Committed(fs::path("button/resources") / name); }
  static Bytes Dialog(const char* name) { return Committed(fs::path("dialog/resources") / name); }

  static inline fs::path scratch_;
  static inline int status_ = -1;
};

TEST_F(SaverArtTest, CommittedPicturesAreExactlyWhatTheGeneratorMakes) {
  for (const char* file :
       {"button/resources/normal.bmp", "button/resources/highlight.bmp", "button/resources/highlight_select.bmp",
        "button/resources/selected.bmp", "button/resources/pressed.bmp", "button/resources/disable.bmp",
        "dialog/resources/marker_off.jpg", "dialog/resources/marker_on.jpg", "dialog/resources/hand.cur",
        "dialog/resources/tovarel.ico"}) {
    SCOPED_TRACE(file);
    const Bytes generated = ReadAll(scratch_ / "saver" / file).value_or(Bytes{});
    const Bytes committed = Committed(file);
    ASSERT_FALSE(generated.empty());
    EXPECT_EQ(generated.size(), committed.size());
    EXPECT_EQ(FirstDifference(generated, committed), generated.size()) << "rerun tools/art/regenerate.sh";
  }
}

// ---- Button state pictures -------------------------------------------------

Rgb Hex(unsigned v) { return {static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)}; }

// A row across the top or bottom edge piece (columns 4-59) or a column down
// a side piece (rows 4-20): exactly `from` and `to` at its ends, and within
// one step of the straight line between them.
struct Line {
  bool isRow;
  int index;
  unsigned from;
  unsigned to;
};

using Lines = std::vector<Line>;

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Darker beige at the top and left, pale at the bottom and right.
Lines Surround(int d) {
  return {{true, d, 0xDCD6C2, 0xE2DECB}, {false, d, 0xDCD6C2, 0xE2DECB}, {true, 24 - d, 0xFAFAF6, 0xFAFAF6},
          {false, 63 - d, 0xF0EEE0, 0xF0EEE0}};
}

Lines Ring(int d, unsigned c) { return {{true, d, c, c}, {true, 24 - d, c, c}, {false, d, c, c}, {false, 63 - d, c, c}}; }

// Outline at depth 1, then rows 2, 3, 21, 22 and the side columns 2, 3 and 60, 61.
Lines XpFrame(unsigned top2, unsigned top3, unsigned bottom21, unsigned bottom22, unsigned leftFrom, unsigned leftTo,
              unsigned rightFrom, unsigned rightTo) {
  return Surround(0) + Ring(1, 0x003C74) +
         Lines{{true, 2, top2, top2},           {true, 3, top3, top3},           {true, 21, bottom21, bottom21},
               {true, 22, bottom22, bottom22},  {false, 2, leftFrom, leftTo},    {false, 3, leftFrom, leftTo},
               {false, 60, rightFrom, rightTo}, {false, 61, rightFrom, rightTo}};
}

struct Look {
  const char* file;
  Lines lines;
  int outline;  // depth of the outline ring
};

std::vector<Look> Looks() {
  const Lines highlight = XpFrame(0xFFF0CF, 0xFDD889, 0xF8B330, 0xE59700, 0xFEDF9A, 0xF9B435, 0xFEDF9A, 0xF9B435);
  return {
      {"normal.bmp", XpFrame(0xF3F3EE, 0xF3F3EE, 0xE2DFD6, 0xD6D0C5, 0xFDFDFC, 0xECEBE6, 0xFBFBFA, 0xE4E2DA), 1},
      {"highlight.bmp", highlight, 1},
      {"highlight_select.bmp", highlight, 1},
      {"selected.bmp", XpFrame(0xCEE7FF, 0xCEE7FF, 0x6982EE, 0x6982EE, 0xB7D0F4, 0x8BADE4, 0xB7D0F4, 0x8BADE4), 1},
      {"pressed.bmp",
       Ring(0, 0xECE9D8) + Surround(1) + Ring(2, 0x003C74) +
           Lines{{true, 3, 0xD1CCC1, 0xD1CCC1}, {true, 21, 0xF2F1EE, 0xF2F1EE}, {false, 3, 0xD7D4CB, 0xD7D4CB},
                 {false, 60, 0xE4E3DC, 0xE4E3DC}},
       2},
      {"disable.bmp", Ring(0, 0xECE9D8) + Ring(1, 0xC9C7BA) + Ring(2, 0xF5F4EA) + Ring(3, 0xF5F4EA), 1},
  };
}

bool Between(int v, int a, int b) { return (a <= v && v <= b) || (b <= v && v <= a); }

TEST_F(SaverArtTest, ButtonFramesHaveTheListedColoursAndRoundedCorners) {
  for (const Look& look : Looks()) {
    SCOPED_TRACE(look.file);
    const Bytes bytes = Button(look.file);
    const auto bmp = Parse(bytes);
    ASSERT_TRUE(bmp.has_value()) << "not a 24-bit bottom-up bitmap";
    ASSERT_EQ(bmp->width, 64);
    ASSERT_EQ(bmp->height, 25);
    for (const Line& line : look.lines) {
      SCOPED_TRACE((line.isRow ? "row " : "column ") + std::to_string(line.index));
      const int last = line.isRow ? 59 : 20;
      const Rgb from = Hex(line.from);
      const Rgb to = Hex(line.to);
      for (int i = 4; i <= last; ++i) {
        const Rgb c = line.isRow ? bmp->TopDown(i, line.index) : bmp->TopDown(line.index, i);
        const double t = (i - 4.0) / (last - 4);
        EXPECT_TRUE(i != 4 || c == from) << "start";
        EXPECT_TRUE(i != last || c == to) << "end";
        EXPECT_TRUE(std::abs(c.r - (from.r + (to.r - from.r) * t)) <= 1.0 &&
                    std::abs(c.g - (from.g + (to.g - from.g) * t)) <= 1.0 &&
                    std::abs(c.b - (from.b + (to.b - from.b) * t)) <= 1.0)
            << "at " << i << ": " << c.r << "," << c.g << "," << c.b;
      }
    }
    // Rounded: the outline's corner pixel shows the ring outside it, and its
    // two neighbours on the outline are blends of the two.
    const int d = look.outline;
    const Rgb outline = bmp->TopDown(30, d);
    for (const auto& [right, bottom] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
      SCOPED_TRACE(std::string(bottom ? "bottom " : "top ") + (right ? "right" : "left"));
      const auto px = [&](int x, int y) { return bmp->TopDown(right ? 63 - x : x, bottom ? 24 - y : y); };
      const Rgb corner = px(d, d);
      EXPECT_NE(corner, outline);
      EXPECT_EQ(corner, px(d - 1, d - 1));
      for (const Rgb blend : {px(d + 1, d), px(d, d + 1)}) {
        EXPECT_TRUE(blend != outline && blend != corner && Between(blend.r, outline.r, corner.r) &&
                    Between(blend.g, outline.g, corner.g) && Between(blend.b, outline.b, corner.b))
            << blend.r << "," << blend.g << "," << blend.b;
      }
      EXPECT_EQ(px(d + 2, d), outline) << "the outline resumes after the blend";
      EXPECT_EQ(px(d, d + 2), outline);
    }
  }
  EXPECT_EQ(Button("highlight.bmp"), Button("highlight_select.bmp")) << "one picture for both states";
}

// ---- Choice markers --------------------------------------------------------

struct Jpeg {
  int width = 0;
  int height = 0;
  bool progressive = true;
  std::vector<std::uint8_t> rgb;
  Rgb At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

std::optional<Jpeg> DecodeJpeg(const Bytes& bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  Jpeg jpeg;
  if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && info.num_components == 3) {
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    jpeg.width = static_cast<int>(info.output_width);
    jpeg.height = static_cast<int>(info.output_height);
    jpeg.progressive = info.progressive_mode;
    jpeg.rgb.resize(static_cast<std::size_t>(jpeg.width) * jpeg.height * 3);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = &jpeg.rgb[static_cast<std::size_t>(info.output_scanline) * jpeg.width * 3];
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  if (jpeg.width == 0) return std::nullopt;
  return jpeg;
}

int Light(const Rgb& c) { return (c.r * 3 + c.g * 6 + c.b) / 10; }

TEST_F(SaverArtTest, MarkersAreBaselineJpegsOnThePanelsGreyAndOnlyTheChosenHasADot) {
  const Bytes offBytes = Dialog("marker_off.jpg");
  const Bytes onBytes = Dialog("marker_on.jpg");
  const auto off = DecodeJpeg(offBytes);
  const auto on = DecodeJpeg(onBytes);
  ASSERT_TRUE(off.has_value() && on.has_value());
  for (const Jpeg* marker : {&*off, &*on}) {
    EXPECT_EQ(marker->width, 12);
    EXPECT_EQ(marker->height, 12);
    EXPECT_FALSE(marker->progressive);
    // The panel behind runs from about 222 to 250 at the marker rows.
    for (const auto& [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}}) {
      const Rgb c = marker->At(x, y);
      EXPECT_TRUE(c.r >= 222 && c.r <= 250 && std::abs(c.r - c.g) <= 3 && std::abs(c.r - c.b) <= 3)
          << "corner " << x << "," << y << ": " << c.r << "," << c.g << "," << c.b;
    }
    for (const auto& [x, y] : {std::pair{5, 0}, {6, 11}, {0, 6}, {11, 5}}) {
      EXPECT_LT(Light(marker->At(x, y)), 170) << "a dark rim crosses the middle of every edge";
    }
  }
  const auto baseline = [](const Bytes& b) {
    for (std::size_t i = 0; i + 1 < b.size(); ++i) {
      if (b[i] == 0xFF && b[i + 1] == 0xC0) return true;
    }
    return false;
  };
  EXPECT_TRUE(baseline(offBytes) && baseline(onBytes)) << "SOF0 frame header";

  int dotOn = 0;
  int dotOff = 0;
  int rimDifference = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const double r = std::hypot(x + 0.5 - 6.0, y + 0.5 - 6.0);
      const Rgb a = off->At(x, y);
      const Rgb b = on->At(x, y);
      if (r < 2.0) {
        dotOn += b.b - b.r > 100;
        dotOff += a.b - a.r > 40 || Light(a) < 200;
      }
      if (r > 5.0) rimDifference = std::max({rimDifference, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
  }
  EXPECT_EQ(dotOn, 12) << "the chosen marker's centre is a strong blue";
  EXPECT_EQ(dotOff, 0) << "the other's well is light and plain";
  EXPECT_LE(rimDifference, 4) << "same rim and background: a change of choice moves only the dot";
}

// ---- Hand cursor and icon ----------------------------------------------------

struct IconImage {
  Bytes entry;  // the 16-byte directory entry
  int bits = 0;
  std::vector<Rgb> palette;
  std::vector<Rgb> colour;  // top down
  std::vector<bool> mask;   // top down, true: the screen shows through
};

// A .CUR (type 2) or .ICO (type 1) file with one 32 x 32 image.
std::optional<IconImage> ParseIconFile(const Bytes& b, std::uint32_t type) {
  if (b.size() < 62 || Le16(b, 0) != 0 || Le16(b, 2) != type || Le16(b, 4) != 1) return std::nullopt;
  const std::uint32_t at = Le32(b, 18);
  if (at != 22 || at + Le32(b, 14) != b.size() || Le32(b, at) != 40 || Le32Signed(b, at + 4) != 32 ||
      Le32Signed(b, at + 8) != 64 || Le32(b, at + 16) != 0) {
    return std::nullopt;
  }
  IconImage image;
  image.entry.assign(b.begin() + 6, b.begin() + 22);
  image.bits = static_cast<int>(Le16(b, at + 14));
  if (image.bits != 1 && image.bits != 8) return std::nullopt;
  const std::uint32_t colours = Le32(b, at + 32) ? Le32(b, at + 32) : (1u << image.bits);
  const std::size_t rows = at + 40 + colours * 4;
  const std::size_t stride = image.bits == 1 ? 4 : 32;
  const std::size_t mask = rows + stride * 32;
  if (mask + 4 * 32 != b.size()) return std::nullopt;
  for (std::uint32_t i = 0; i < colours; ++i) image.palette.push_back({b[at + 40 + i * 4 + 2], b[at + 41 + i * 4], b[at + 40 + i * 4]});
  for (int y = 0; y < 32; ++y) {
    const std::size_t row = static_cast<std::size_t>(31 - y);
    for (int x = 0; x < 32; ++x) {
      const int index = image.bits == 1 ? (b[rows + row * 4 + x / 8] >> (7 - x % 8)) & 1 : b[rows + row * 32 + x];
      image.colour.push_back(image.palette[static_cast<std::size_t>(index)]);
      image.mask.push_back((b[mask + row * 4 + x / 8] >> (7 - x % 8)) & 1);
    }
  }
  return image;
}

enum class Pixel { Clear, Black, White, Inverted };

TEST_F(SaverArtTest, HandCursorPointsWithItsFingertipOnTheHotSpot) {
  const auto cursor = ParseIconFile(Dialog("hand.cur"), 2);
  ASSERT_TRUE(cursor.has_value()) << "not a cursor file with one 32 x 32 image";
  ASSERT_EQ(cursor->bits, 1);
  EXPECT_EQ(cursor->entry[0], 32);
  EXPECT_EQ(cursor->entry[1], 32);
  EXPECT_EQ(Le16(cursor->entry, 4), 12u) << "hot spot x";
  EXPECT_EQ(Le16(cursor->entry, 6), 10u) << "hot spot y";
  const auto at = [&](int x, int y) {
    if (x < 0 || y < 0 || x > 31 || y > 31) return Pixel::Clear;
    const std::size_t i = static_cast<std::size_t>(y) * 32 + x;
    const bool black = cursor->colour[i].Black();
    if (cursor->mask[i]) return black ? Pixel::Clear : Pixel::Inverted;
    return black ? Pixel::Black : (cursor->colour[i] == Rgb{255, 255, 255} ? Pixel::White : Pixel::Inverted);
  };
  EXPECT_EQ(at(12, 10), Pixel::Black) << "the tip's outline under the hot spot";
  int topmost = 32;
  int white = 0;
  int leaks = 0;
  int odd = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Pixel p = at(x, y);
      odd += p == Pixel::Inverted;
      if (p != Pixel::Clear) topmost = std::min(topmost, y);
      if (p != Pixel::White) continue;
      ++white;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) leaks += at(x + dx, y + dy) == Pixel::Clear;
    }
  }
  int tipWidth = 0;
  for (int x = 0; x < 32; ++x) tipWidth += at(x, 10) != Pixel::Clear;
  EXPECT_EQ(topmost, 10) << "nothing of the hand above the fingertip";
  EXPECT_LE(tipWidth, 3) << "a fingertip, not a flat edge";
  EXPECT_EQ(leaks, 0) << "the black outline encloses all the white";
  EXPECT_EQ(odd, 0) << "only black, white and clear";
  EXPECT_GT(white, 150) << "a hand, not a speck";
}

TEST_F(SaverArtTest, IconIsThe256ColourCreatureOnARoundedTile) {
  const auto icon = ParseIconFile(Dialog("tovarel.ico"), 1);
  ASSERT_TRUE(icon.has_value());
  ASSERT_EQ(icon->bits, 8);
  ASSERT_EQ(icon->palette.size(), 256u);
  EXPECT_EQ(icon->entry[0], 32);
  EXPECT_EQ(icon->entry[2], 0) << "colour count 0 stands for 256";
  EXPECT_EQ(Le16(icon->entry, 6), 8u) << "bits per pixel";
  std::set<std::tuple<int, int, int>> used;
  int clear = 0;
  int green = 0;
  int purple = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * 32 + x;
      const Rgb c = icon->colour[i];
      if (icon->mask[i]) {
        ++clear;
        EXPECT_TRUE(c.Black()) << x << "," << y << " would invert the screen";
        EXPECT_TRUE(icon->mask[static_cast<std::size_t>(y) * 32 + 31 - x]) << "mask not symmetric";
        continue;
      }
      used.insert({c.r, c.g, c.b});
      green += c.g > c.r + 40 && c.g > 110;
      purple += c.r > c.g + 15 && c.b > c.g + 40;
    }
  }
  EXPECT_TRUE(icon->mask[0] && icon->mask[31] && icon->mask[31 * 32] && icon->mask[1023]) << "rounded corners";
  EXPECT_FALSE(icon->mask[16 * 32] || icon->mask[16] || icon->mask[16 * 32 + 16]) << "the tile fills the square";
  EXPECT_TRUE(clear > 8 && clear < 64) << clear;
  EXPECT_GT(used.size(), 150u) << "a full palette, not a handful of colours";
  EXPECT_GT(green, 40) << "the creature's green wings";
  EXPECT_GT(purple, 40) << "the creature's purple wings";
}

}  // namespace
