#include "tools/art/bmp_writer.h"

#include <cmath>
#include <fstream>

namespace art {
namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t PixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::floor(Clamp01(value) * 255.0 + 0.5));
}

std::vector<std::uint8_t> EncodeBmp24(const Image& image) {
  const auto width = static_cast<std::uint32_t>(image.width);
  const auto height = static_cast<std::uint32_t>(image.height);
  const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowBytes * height;
  const std::uint32_t offset = FileHeaderSize + InfoHeaderSize;

  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);
  Put32(out, 0);  // two reserved words
  Put32(out, offset);

  Put32(out, InfoHeaderSize);
  Put32(out, width);
  Put32(out, height);  // positive: bottom-up rows
  Put16(out, 1);       // planes
  Put16(out, 24);      // bits per pixel
  Put32(out, 0);       // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, PixelsPerMetre);
  Put32(out, PixelsPerMetre);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours

  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.At(x, y);
      out.push_back(ToByte(c.b));
      out.push_back(ToByte(c.g));
      out.push_back(ToByte(c.r));
    }
    for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

}  // namespace art
