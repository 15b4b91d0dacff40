// BMP files: the header is checked against the data, then the system
// converts whatever pixel format the file has into a 32-bit picture.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "saver/toolkit/win32/byte_reader.h"
#include "saver/toolkit/win32/picture.h"

namespace toolkit::win32 {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

}  // namespace

PictureRef DecodeBmp(std::span<const unsigned char> data) {
  const ByteReader in(data);
  if (!in.Has(0, kFileHeaderSize + kInfoHeaderSize) || data[0] != 'B' || data[1] != 'M') return nullptr;
  const std::uint32_t bitsOffset = *in.U32(10);
  const std::uint32_t headerSize = *in.U32(kFileHeaderSize);
  const std::int32_t width = *in.I32(kFileHeaderSize + 4);
  const std::int32_t height = *in.I32(kFileHeaderSize + 8);
  const std::uint16_t planes = *in.U16(kFileHeaderSize + 12);
  const std::uint16_t bitCount = *in.U16(kFileHeaderSize + 14);
  const std::uint32_t compression = *in.U32(kFileHeaderSize + 16);
  const std::uint32_t sizeImage = *in.U32(kFileHeaderSize + 20);
  const std::uint32_t coloursUsed = *in.U32(kFileHeaderSize + 32);

  if (headerSize < kInfoHeaderSize || headerSize > 1024 || planes != 1) return nullptr;
  if (width <= 0 || height == 0 || height == INT32_MIN) return nullptr;
  const std::int64_t rows = std::llabs(static_cast<std::int64_t>(height));
  if (width > 32768 || rows > 32768 || width * rows > kMaxPixels) return nullptr;

  switch (compression) {
    case BI_RGB:
      if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
          bitCount != 32)
        return nullptr;
      break;
    case BI_RLE8:
      if (bitCount != 8 || height < 0) return nullptr;
      break;
    case BI_RLE4:
      if (bitCount != 4 || height < 0) return nullptr;
      break;
    case BI_BITFIELDS:
      if (bitCount != 16 && bitCount != 32) return nullptr;
      break;
    default:
      return nullptr;
  }

  // The masks of a bit-field file follow a 40-byte header or lie in the
  // larger headers at the same place.
  const size_t masksSize = compression == BI_BITFIELDS ? 12 : 0;
  size_t tableOffset = kFileHeaderSize + headerSize;
  if (headerSize == kInfoHeaderSize) tableOffset += masksSize;
  size_t colours = 0;
  if (bitCount <= 8) {
    const size_t most = size_t{1} << bitCount;
    colours = coloursUsed == 0 ? most : coloursUsed;
    if (colours > most) return nullptr;
  }
  if (!in.Has(tableOffset, colours * 4) || bitsOffset < tableOffset + colours * 4 ||
      bitsOffset >= data.size())
    return nullptr;

  const size_t available = data.size() - bitsOffset;
  size_t bitsSize = available;
  if (compression == BI_RGB || compression == BI_BITFIELDS) {
    const std::int64_t stride = ((static_cast<std::int64_t>(width) * bitCount + 31) / 32) * 4;
    if (stride * rows > static_cast<std::int64_t>(available)) return nullptr;
    bitsSize = static_cast<size_t>(stride * rows);
  } else if (sizeImage != 0) {
    if (sizeImage > available) return nullptr;
    bitsSize = sizeImage;
  }

  // A header of our own: the plain 40 bytes, the masks, the colour table.
  std::vector<unsigned char> info(kInfoHeaderSize + masksSize + colours * 4);
  std::memcpy(info.data(), data.data() + kFileHeaderSize, kInfoHeaderSize);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = kInfoHeaderSize;
  header->biClrUsed = static_cast<DWORD>(colours);
  header->biSizeImage = static_cast<DWORD>(bitsSize);
  if (masksSize) std::memcpy(info.data() + kInfoHeaderSize, data.data() + kFileHeaderSize + kInfoHeaderSize, masksSize);
  if (colours) std::memcpy(info.data() + kInfoHeaderSize + masksSize, data.data() + tableOffset, colours * 4);
  std::vector<unsigned char> bits(data.begin() + bitsOffset, data.begin() + bitsOffset + bitsSize);

  const Size size{width, static_cast<int>(rows)};
  HBITMAP bitmap = CreatePictureBitmap(size);
  if (!bitmap) return nullptr;
  ScreenDc screen;
  const int copied = SetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(rows), bits.data(),
                               reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  if (copied <= 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return Win32Picture::FromBitmap(bitmap, size);
}

}  // namespace toolkit::win32
