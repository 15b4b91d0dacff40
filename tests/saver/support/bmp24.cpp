#include "tests/saver/support/bmp24.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testsupport {
namespace {

std::uint32_t Read32(std::span<const unsigned char> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16 | d[at + 3] << 24);
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::optional<toolkit::raster::Image> DecodeBmp24(std::span<const unsigned char> d) {
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
  const std::uint32_t offset = Read32(d, 10);
  const auto width = static_cast<std::int32_t>(Read32(d, 18));
  const auto rawHeight = static_cast<std::int32_t>(Read32(d, 22));
  const unsigned bits = d[28] | d[29] << 8;
  if (bits != 24 || Read32(d, 30) != 0 || width <= 0 || rawHeight == 0 || width > 65536) return std::nullopt;
  const int height = std::abs(rawHeight);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  if (height > 65536 || offset + stride * static_cast<std::size_t>(height) > d.size()) return std::nullopt;
  toolkit::raster::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(rawHeight > 0 ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const std::size_t p = row + static_cast<std::size_t>(x) * 3;
      image.At(x, y) = toolkit::raster::Rgb(d[p + 2], d[p + 1], d[p]);
    }
  }
  return image;
}

std::vector<unsigned char> EncodeBmp24(const toolkit::raster::Image& image) {
  const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
  const auto size = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(image.height));
  std::vector<unsigned char> out{'B', 'M'};
  for (std::uint32_t v : {54u + size, 0u, 54u, 40u, static_cast<std::uint32_t>(image.width),
                          static_cast<std::uint32_t>(image.height)})
    Put32(out, v);
  Put16(out, 1);
  Put16(out, 24);
  for (std::uint32_t v : {0u, size, 2835u, 2835u, 0u, 0u}) Put32(out, v);
  for (int y = image.height - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t rgb = image.At(x, y);
      out.push_back(static_cast<unsigned char>(rgb));
      out.push_back(static_cast<unsigned char>(rgb >> 8));
      out.push_back(static_cast<unsigned char>(rgb >> 16));
    }
    out.resize(start + stride, 0);
  }
  return out;
}

std::optional<toolkit::raster::Image> ReadBmp24(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeBmp24(bytes);
}

bool WriteBmp24(const std::string& path, const toolkit::raster::Image& image) {
  const std::vector<unsigned char> bytes = EncodeBmp24(image);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
