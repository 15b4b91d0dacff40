// Properties the raster operations must keep whatever GDI's exact rounding
// (which the Wine test checks pixel for pixel).
#include "saver/toolkit/raster/raster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace toolkit::raster;

constexpr std::uint32_t Background = 0x010203;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Lavender = 0xC6C5D7;

GradientVertex Vertex(int x, int y, std::uint32_t rgb) {
  return {x, y, static_cast<std::uint16_t>((rgb >> 16 & 0xFF) << 8), static_cast<std::uint16_t>((rgb >> 8 & 0xFF) << 8),
          static_cast<std::uint16_t>((rgb & 0xFF) << 8), 0};
}

int Component(std::uint32_t rgb, int shift) { return static_cast<int>(rgb >> shift & 0xFF); }

Image RandomPicture(std::mt19937& engine, int width, int height) {
  Image picture(width, height);
  for (std::uint32_t& p : picture.pixels) p = engine() & 0xFFFFFF;
  return picture;
}

// The part of `image` at (x, y), w x h.
Image Crop(const Image& image, int x, int y, int w, int h) {
  Image part(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) part.At(i, j) = image.At(x + i, y + j);
  return part;
}

struct Face {
  int width, height;
  std::uint32_t first, second;
};

class ButtonFill : public testing::TestWithParam<Face> {};

TEST_P(ButtonFill, RowsRunFromVertexZeroTowardVertexOneAndLeaveTheLastRowAndColumn) {
  const Face face = GetParam();
  const int w = face.width, h = face.height;
  const GradientVertex vertices[4] = {Vertex(0, 0, face.first), Vertex(w - 1, h - 1, face.second), {}, {}};
  Image image(w, h, Background);
  GradientFillRectV(image, vertices, 4, {1, 0});

  EXPECT_EQ(image.At(0, 0), face.first);
  for (int y = 0; y < h; ++y) EXPECT_EQ(image.At(w - 1, y), Background) << "row " << y;
  for (int x = 0; x < w; ++x) EXPECT_EQ(image.At(x, h - 1), Background) << "column " << x;
  for (int y = 0; y < h - 1; ++y)
    for (int x = 1; x < w - 1; ++x) ASSERT_EQ(image.At(x, y), image.At(0, y)) << x << "," << y;

  for (int shift : {16, 8, 0}) {
    const int from = Component(face.first, shift), to = Component(face.second, shift);
    const int step = (std::abs(to - from) + h - 2) / (h - 1);  // one row's change, rounded up
    for (int y = 1; y < h - 1; ++y) {
      const int previous = Component(image.At(0, y - 1), shift), current = Component(image.At(0, y), shift);
      // Moves toward vertex 1, never past it.
      EXPECT_LE(std::abs(current - to), std::abs(previous - to)) << "row " << y << " shift " << shift;
      EXPECT_LE(std::abs(current - previous), step + 1) << "row " << y;
    }
    EXPECT_LE(std::abs(Component(image.At(0, h - 2), shift) - to), step + 1) << "last row, shift " << shift;
  }
}

INSTANTIATE_TEST_SUITE_P(SetAndCancel, ButtonFill,
                         testing::Values(Face{77, 25, White, Lavender}, Face{77, 25, Lavender, White},
                                         Face{41, 21, White, Lavender}, Face{41, 21, Lavender, White},
                                         Face{117, 28, White, Lavender}));

TEST(GradientFillRectV, EitherCornerOrderGivesTheSameFill) {
  const GradientVertex vertices[2] = {Vertex(2, 9, 0x102030), Vertex(11, 1, 0xF0E0D0)};
  Image forward(14, 12, Background), backward(14, 12, Background);
  GradientFillRectV(forward, vertices, 2, {0, 1});
  GradientFillRectV(backward, vertices, 2, {1, 0});
  EXPECT_EQ(forward.pixels, backward.pixels);
  EXPECT_EQ(forward.At(2, 1), 0xF0E0D0u);  // the upper vertex's colour on its row
  EXPECT_EQ(forward.At(1, 1), Background);
  EXPECT_EQ(forward.At(11, 1), Background);
  EXPECT_EQ(forward.At(5, 9), Background);
}

TEST(GradientFillRectV, DegenerateRecordsDrawNothing) {
  const GradientVertex sameRow[2] = {Vertex(0, 3, White), Vertex(6, 3, Lavender)};
  const GradientVertex sameColumn[2] = {Vertex(3, 0, White), Vertex(3, 6, Lavender)};
  const GradientVertex good[2] = {Vertex(0, 0, White), Vertex(6, 6, Lavender)};
  struct {
    const GradientVertex* vertices;
    int count;
    GradientRect rect;
  } cases[] = {{sameRow, 2, {0, 1}}, {sameColumn, 2, {1, 0}}, {good, 2, {0, 2}}, {good, 2, {2, 0}},
               {good, 2, {1, 1}},    {good, 0, {0, 1}},       {good, -1, {0, 1}}, {nullptr, 2, {0, 1}}};
  for (const auto& c : cases) {
    Image image(8, 8, Background);
    GradientFillRectV(image, c.vertices, c.count, c.rect);
    EXPECT_EQ(image.pixels, Image(8, 8, Background).pixels) << c.count << " " << c.rect.upperLeft << c.rect.lowerRight;
  }
}

TEST(StretchCopy, EqualSizesCopyPixelForPixel) {
  std::mt19937 engine(1);
  const Image picture = RandomPicture(engine, 64, 25);
  for (const PixelRect source : {PixelRect{0, 0, 4, 4}, PixelRect{60, 21, 4, 4}, PixelRect{0, 4, 4, 17},
                                 PixelRect{4, 0, 56, 4}, PixelRect{0, 0, 64, 25}}) {
    Image target(70, 30, Background);
    StretchCopy(target, {3, 2, source.width, source.height}, picture, source);
    EXPECT_EQ(Crop(target, 3, 2, source.width, source.height).pixels,
              Crop(picture, source.x, source.y, source.width, source.height).pixels);
    EXPECT_EQ(target.At(2, 2), Background);
    EXPECT_EQ(target.At(3 + source.width, 2 + source.height - 1), Background);
  }
}

TEST(StretchCopy, ButtonEdgesKeepEverySourcePixelInOrder) {
  Image columns(56, 1), rows(1, 17);
  for (int i = 0; i < 56; ++i) columns.At(i, 0) = static_cast<std::uint32_t>(i) << 8 | 0xFF00FF;
  Image wide(77, 1, Background);
  StretchCopy(wide, {4, 0, 69, 1}, columns, {0, 0, 56, 1});
  EXPECT_EQ(wide.At(3, 0), Background);
  EXPECT_EQ(wide.At(73, 0), Background);
  std::vector<int> uses(56);
  int last = -1;
  for (int x = 4; x < 73; ++x) {
    const int source = static_cast<int>(wide.At(x, 0) >> 8 & 0xFF);
    ASSERT_GE(source, last) << "column " << x;
    last = source;
    ++uses[static_cast<std::size_t>(source)];
  }
  for (int i = 0; i < 56; ++i) EXPECT_TRUE(uses[static_cast<std::size_t>(i)] == 1 || uses[static_cast<std::size_t>(i)] == 2) << i;

  // Every source bit pattern with one bit cleared shows which rows were ANDed.
  for (int i = 0; i < 17; ++i) rows.At(0, i) = 0xFFFFFF & ~(1u << i);
  Image tall(1, 21, Background);
  StretchCopy(tall, {0, 4, 1, 13}, rows, {0, 0, 1, 17});
  std::uint32_t seen = 0;
  int previousTop = -1;
  for (int y = 4; y < 17; ++y) {
    const std::uint32_t cleared = ~tall.At(0, y) & 0x1FFFF;
    ASSERT_NE(cleared, 0u) << "row " << y;
    EXPECT_EQ(cleared & seen, 0u) << "row " << y << " reuses a source row";
    const int top = __builtin_ctz(cleared);
    EXPECT_GT(top, previousTop);
    // A run of neighbouring rows, not scattered ones.
    EXPECT_EQ(((cleared >> top) & ((cleared >> top) + 1)), 0u) << "row " << y;
    previousTop = top;
    seen |= cleared;
  }
  EXPECT_EQ(seen, 0x1FFFFu);  // all 17 rows end up in the 13
  EXPECT_EQ(tall.At(0, 17), Background);
}

TEST(StretchCopy, ShrinkingANDsAndAUniformPictureStaysUniform) {
  Image grey(30, 20, 0x8899AA), target(9, 7, Background);
  StretchCopy(target, {1, 1, 7, 5}, grey, {0, 0, 30, 20});
  for (int y = 1; y < 6; ++y)
    for (int x = 1; x < 8; ++x) EXPECT_EQ(target.At(x, y), 0x8899AAu);

  // Three columns into two: the first two meet in one pixel, and the default
  // stretch mode ANDs them.
  Image three(3, 1);
  three.At(0, 0) = 0xF0F0F0;
  three.At(1, 0) = 0x3C3C3C;
  three.At(2, 0) = 0x123456;
  Image two(2, 1, Background);
  StretchCopy(two, {0, 0, 2, 1}, three, {0, 0, 3, 1});
  EXPECT_EQ(two.At(0, 0), 0x303030u);
  EXPECT_EQ(two.At(1, 0), 0x123456u);

  // Into a single pixel GDI leaves the last source pixel out, unless mirrored.
  Image one(1, 1, Background);
  StretchCopy(one, {0, 0, 1, 1}, three, {0, 0, 3, 1});
  EXPECT_EQ(one.At(0, 0), 0x303030u);
  StretchCopy(one, {0, 0, -1, 1}, three, {0, 0, 3, 1});
  EXPECT_EQ(one.At(0, 0), 0x103010u);
}

TEST(StretchCopy, NegativeExtentsMirror) {
  std::mt19937 engine(3);
  const Image picture = RandomPicture(engine, 9, 6);
  Image plain(9, 6), flippedTarget(9, 6), flippedSource(9, 6), both(9, 6);
  StretchCopy(plain, {0, 0, 9, 6}, picture, {0, 0, 9, 6});
  StretchCopy(flippedTarget, {8, 0, -9, 6}, picture, {0, 0, 9, 6});
  StretchCopy(flippedSource, {0, 5, 9, -6}, picture, {0, 5, 9, -6});
  StretchCopy(both, {8, 5, -9, -6}, picture, {8, 5, -9, -6});
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) {
      ASSERT_EQ(plain.At(x, y), picture.At(x, y));
      ASSERT_EQ(flippedTarget.At(x, y), picture.At(8 - x, y));
      ASSERT_EQ(flippedSource.At(x, y), picture.At(x, y));  // both flipped vertically
      ASSERT_EQ(both.At(x, y), picture.At(x, y));
    }
}

TEST(StretchCopy, EmptyRectanglesAndPicturesDrawNothing) {
  const Image picture(4, 4, 0x445566);
  for (const auto& [destination, source] :
       {std::pair{PixelRect{0, 0, 0, 4}, PixelRect{0, 0, 4, 4}}, std::pair{PixelRect{0, 0, 4, 0}, PixelRect{0, 0, 4, 4}},
        std::pair{PixelRect{0, 0, 4, 4}, PixelRect{0, 0, 0, 4}}, std::pair{PixelRect{0, 0, 4, 4}, PixelRect{0, 0, 4, 0}},
        std::pair{PixelRect{0, 0, 4, 4}, PixelRect{4, 4, 3, 3}}, std::pair{PixelRect{0, 0, 4, 4}, PixelRect{-5, 0, 5, 4}}}) {
    Image target(6, 6, Background);
    StretchCopy(target, destination, picture, source);
    EXPECT_EQ(target.pixels, Image(6, 6, Background).pixels);
  }
  Image target(6, 6, Background);
  StretchCopy(target, {0, 0, 4, 4}, Image(), {0, 0, 4, 4});
  EXPECT_EQ(target.pixels, Image(6, 6, Background).pixels);
}

TEST(Line, DialogRowsCoverTheRowUpToTheEndPoint) {
  Image image(496, 5, Background);
  Line(image, 0, 2, 496, 2, 0x00001E);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 496; ++x) ASSERT_EQ(image.At(x, y), y == 2 ? 0x00001Eu : Background) << x << "," << y;

  Image leftward(10, 1, Background);
  Line(leftward, 7, 0, 2, 0, White);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(leftward.At(x, 0), x >= 3 && x <= 7 ? White : Background) << x;
}

std::vector<std::pair<int, int>> Drawn(const Image& image) {
  std::vector<std::pair<int, int>> points;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (image.At(x, y) != Background) points.emplace_back(x, y);
  return points;
}

TEST(Line, EveryDirectionDrawsOnePixelPerStepAndNotTheEndPoint) {
  for (int x1 = 0; x1 <= 20; ++x1)
    for (int y1 = 0; y1 <= 20; ++y1) {
      if (x1 == 10 && y1 == 10) continue;
      Image image(21, 21, Background);
      Line(image, 10, 10, x1, y1, White);
      const int steps = std::max(std::abs(x1 - 10), std::abs(y1 - 10));
      const auto points = Drawn(image);
      ASSERT_EQ(static_cast<int>(points.size()), steps) << x1 << "," << y1;
      EXPECT_EQ(image.At(10, 10), White);
      EXPECT_EQ(image.At(x1, y1), Background) << x1 << "," << y1;
      // The reverse line covers the same pixels but for the two ends.
      Image back(21, 21, Background);
      Line(back, x1, y1, 10, 10, White);
      back.At(x1, y1) = Background;
      back.At(10, 10) = White;
      EXPECT_EQ(back.pixels, image.pixels) << x1 << "," << y1;
    }
}

TEST(Line, ZeroLengthAndHugeLinesAreSafe) {
  Image image(8, 8, Background);
  Line(image, 3, 3, 3, 3, White);
  EXPECT_EQ(Drawn(image).size(), 0u);
  Line(image, -2000000000, 4, 2000000000, 4, White);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(image.At(x, 4), White);
  Line(image, 2000000000, 2000000000, -2000000000, -2000000000, White);
  for (int d = 0; d < 8; ++d) EXPECT_EQ(image.At(d, d), White);
}

}  // namespace
