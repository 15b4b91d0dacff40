#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "renderer/resources/bitmap_file.h"

namespace renderer {
namespace {

std::vector<std::uint8_t> MakeBitmap(std::int32_t w, std::int32_t h, std::uint16_t bpp = 24) {
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  const std::size_t pixels = stride * static_cast<std::size_t>(h < 0 ? -h : h);
  std::vector<std::uint8_t> b(54 + pixels, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); };
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&b[at], &v, 2); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  put16(26, 1);
  put16(28, bpp);
  return b;
}

TEST(BitmapFile, ReadsTwentyFourBitBottomUpRows) {
  auto b = MakeBitmap(5, 3);  // 15 bytes a row, padded to 16
  b[54 + 16] = 0xAB;           // first byte of the second stored row
  const auto view = ParseBitmapFile(b.data(), b.size());
  ASSERT_TRUE(view);
  EXPECT_EQ(view->width, 5);
  EXPECT_EQ(view->height, 3);
  EXPECT_EQ(view->rows[16], 0xAB);
}

TEST(BitmapFile, RefusesWhatCannotBeUploadedAsItLies) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> data;
  };
  auto truncated = MakeBitmap(4, 4);
  truncated.resize(truncated.size() - 1);
  auto wrongMagic = MakeBitmap(4, 4);
  wrongMagic[0] = 'X';
  auto compressed = MakeBitmap(4, 4);
  compressed[30] = 1;
  auto offsetPastEnd = MakeBitmap(4, 4);
  offsetPastEnd[10] = 0xFF;
  offsetPastEnd[11] = 0xFF;
  auto headerOnly = MakeBitmap(4, 4);
  headerOnly.resize(54);
  const Case cases[] = {
      {"empty", {}},
      {"header only", headerOnly},
      {"truncated rows", truncated},
      {"not a bitmap", wrongMagic},
      {"32 bits", MakeBitmap(4, 4, 32)},
      {"top-down", MakeBitmap(4, -4)},
      {"zero width", MakeBitmap(0, 4)},
      {"compressed", compressed},
      {"pixels past the end", offsetPastEnd},
  };
  for (const Case& c : cases) EXPECT_FALSE(ParseBitmapFile(c.data.data(), c.data.size())) << c.name;
}

TEST(BitmapFile, EmbeddedPicturesHaveTheirSizes) {
  const struct {
    int id, size;
  } table[] = {{127, 128}, {123, 256}, {124, 256}};
  for (const auto& row : table) {
    const auto view = FindBitmapResource(row.id);
    ASSERT_TRUE(view) << row.id;
    EXPECT_EQ(view->width, row.size) << row.id;
    EXPECT_EQ(view->height, row.size) << row.id;
  }
  EXPECT_FALSE(FindBitmapResource(125));
  const auto blue = FindBitmapResource(124);
  EXPECT_EQ(blue->rows[0], 255);  // B
  EXPECT_EQ(blue->rows[1], 0);    // G
  EXPECT_EQ(blue->rows[2], 0);    // R
}

}  // namespace
}  // namespace renderer
