// ico_to_png: icon pictures of each depth come out as the same RGBA pixels,
// with the AND mask (or the picture's own alpha) as transparency.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/saver/support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& d, unsigned v) { d.push_back(v & 255), d.push_back(v >> 8); }
void Put32(Bytes& d, std::uint32_t v) { Put16(d, v & 0xFFFF), Put16(d, v >> 16); }

// A 2 x 2 icon: top-left red, top-right green, bottom-left blue, bottom-right
// white and masked out (clear), at the given depth.
Bytes TwoByTwoIcon(unsigned bits) {
  const std::uint8_t bgr[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};  // TL TR BL BR
  Bytes image;
  Put32(image, 40), Put32(image, 2), Put32(image, 4), Put16(image, 1), Put16(image, bits);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  if (bits == 8) {
    image[32] = 4;  // colours used
    for (const auto& c : bgr) image.insert(image.end(), {c[0], c[1], c[2], 0});
  }
  const int rows[2][2] = {{2, 3}, {0, 1}};  // bottom-up
  for (const auto& row : rows) {
    Bytes line;
    for (int i : row) {
      if (bits == 8) line.push_back(static_cast<std::uint8_t>(i));
      else line.insert(line.end(), {bgr[i][0], bgr[i][1], bgr[i][2]});
      if (bits == 32) line.push_back(i == 3 ? 0 : 255);
    }
    while (line.size() % 4) line.push_back(0);
    image.insert(image.end(), line.begin(), line.end());
  }
  // AND mask, bottom-up: only the bottom-right pixel is clear.
  image.insert(image.end(), {0x40, 0, 0, 0, 0x00, 0, 0, 0});
  Bytes file;
  Put16(file, 0), Put16(file, 1), Put16(file, 1);
  file.insert(file.end(), {2, 2, 0, 0}), Put16(file, 1), Put16(file, bits);
  Put32(file, static_cast<std::uint32_t>(image.size())), Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

Bytes ReadRgba(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  Bytes pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

class IcoToPng : public testing::TestWithParam<unsigned> {};

TEST_P(IcoToPng, KeepsColoursAndTransparency) {
  testsupport::TempDir dir;
  const Bytes icon = TwoByTwoIcon(GetParam());
  testsupport::WriteBytes(dir.File("in.ico"), std::string(icon.begin(), icon.end()));
  const std::string command = std::string(ICO_TO_PNG_PATH) + " " + dir.File("in.ico") + " " + dir.File("out.png");
  ASSERT_EQ(std::system(command.c_str()), 0);
  int width = 0, height = 0;
  const Bytes rgba = ReadRgba(dir.File("out.png"), width, height);
  ASSERT_EQ(width, 2);
  ASSERT_EQ(height, 2);
  EXPECT_EQ(rgba, (Bytes{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0}));
}

INSTANTIATE_TEST_SUITE_P(Depths, IcoToPng, testing::Values(8u, 24u, 32u));

TEST(IcoToPngFiles, RefusesWhatIsNoIcon) {
  testsupport::TempDir dir;
  Bytes icon = TwoByTwoIcon(24);
  icon.resize(icon.size() - 10);  // the AND mask cut short
  for (const std::string& bytes : {std::string("BM not an icon"), std::string(icon.begin(), icon.end())}) {
    testsupport::WriteBytes(dir.File("bad.ico"), bytes);
    const std::string command = std::string(ICO_TO_PNG_PATH) + " " + dir.File("bad.ico") + " " +
                                dir.File("bad.png") + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
  }
}

}  // namespace
