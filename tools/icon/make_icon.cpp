// Makes the renderer's 32 x 32 program icon from its flyer picture: the
// 128 x 128 bitmap is averaged down four to one, and its black background
// becomes transparent, so the creature's glow fades into the desktop.
// Deterministic: the same picture always gives the same file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace icon {

constexpr int Size = 32;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;  // bottom-up rows, tightly packed
};

std::uint32_t Read32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

bool ReadBitmap(const char* path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return false;
  const std::uint32_t offset = Read32(d, 10);
  const auto width = static_cast<std::int32_t>(Read32(d, 18));
  const auto height = static_cast<std::int32_t>(Read32(d, 22));
  const unsigned bits = d[28] | d[29] << 8;
  if (bits != 24 || width <= 0 || height <= 0 || width % Size || height % Size) return false;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  if (offset + stride * height > d.size()) return false;
  picture.width = width;
  picture.height = height;
  picture.bgr.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    std::copy_n(&d[offset + stride * y], width * 3, &picture.bgr[static_cast<std::size_t>(y) * width * 3]);
  return true;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One 32-bit image with alpha, plus the AND mask older systems use.
std::vector<std::uint8_t> MakeIcon(const Picture& picture) {
  const int step = picture.width / Size;
  std::vector<std::uint8_t> pixels;  // bottom-up BGRA
  std::vector<std::uint8_t> mask(Size * 4, 0);
  for (int y = 0; y < Size; ++y) {
    for (int x = 0; x < Size; ++x) {
      int sum[3] = {0, 0, 0};
      for (int dy = 0; dy < step; ++dy)
        for (int dx = 0; dx < step; ++dx)
          for (int c = 0; c < 3; ++c)
            sum[c] += picture.bgr[((static_cast<std::size_t>(y) * step + dy) * picture.width + x * step + dx) * 3 + c];
      int mean[3];
      for (int c = 0; c < 3; ++c) mean[c] = sum[c] / (step * step);
      // Additive light over black: the brightness is the coverage.
      const int peak = std::max({mean[0], mean[1], mean[2]});
      const int alpha = std::min(255, peak * 2);
      for (int c = 0; c < 3; ++c) pixels.push_back(alpha ? std::min(255, mean[c] * 255 / alpha) : 0);
      pixels.push_back(static_cast<std::uint8_t>(alpha));
      if (alpha == 0) mask[y * 4 + x / 8] |= 0x80 >> (x % 8);
    }
  }
  std::vector<std::uint8_t> image;
  Put32(image, 40);
  Put32(image, Size);
  Put32(image, Size * 2);  // colour image and mask
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  image.insert(image.end(), pixels.begin(), pixels.end());
  image.insert(image.end(), mask.begin(), mask.end());

  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out.push_back(Size);
  out.push_back(Size);
  out.push_back(0);  // no palette
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, static_cast<std::uint32_t>(image.size()));
  Put32(out, 6 + 16);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace icon

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s flyer.bmp out.ico\n", argv[0]);
    return 2;
  }
  icon::Picture picture;
  if (!icon::ReadBitmap(argv[1], picture)) {
    std::fprintf(stderr, "%s: not a 24-bit bitmap of a multiple of 32 pixels\n", argv[1]);
    return 1;
  }
  const auto bytes = icon::MakeIcon(picture);
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
