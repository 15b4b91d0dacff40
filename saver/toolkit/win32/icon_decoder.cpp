// ICO and CUR files: one image of the directory is handed to the system as
// the resource it would find in a program.
#include <vector>

#include "saver/toolkit/win32/byte_reader.h"
#include "saver/toolkit/win32/picture.h"

namespace toolkit::win32 {
namespace {

constexpr std::uint16_t kIconType = 1;
constexpr std::uint16_t kCursorType = 2;
constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr DWORD kResourceVersion = 0x00030000;

struct Entry {
  int width = 0;
  int height = 0;
  int hotX = 0;  // icons: planes
  int hotY = 0;  // icons: bits per pixel
  std::span<const unsigned char> image;
};

std::vector<Entry> ReadDirectory(std::span<const unsigned char> data, std::uint16_t type) {
  const ByteReader in(data);
  std::vector<Entry> entries;
  if (!in.Has(0, kDirectorySize) || *in.U16(0) != 0 || *in.U16(2) != type) return entries;
  const std::uint16_t count = *in.U16(4);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kDirectorySize + i * kEntrySize;
    if (!in.Has(at, kEntrySize)) break;
    Entry entry;
    entry.width = data[at] == 0 ? 256 : data[at];
    entry.height = data[at + 1] == 0 ? 256 : data[at + 1];
    entry.hotX = *in.U16(at + 4);
    entry.hotY = *in.U16(at + 6);
    const std::uint32_t length = *in.U32(at + 8);
    const std::uint32_t offset = *in.U32(at + 12);
    entry.image = in.Bytes(offset, length);
    // The image starts with its BITMAPINFOHEADER (or a PNG signature).
    if (entry.image.size() >= 40) entries.push_back(entry);
  }
  return entries;
}

}  // namespace

PictureRef DecodeIco(std::span<const unsigned char> data) {
  const std::vector<Entry> entries = ReadDirectory(data, kIconType);
  if (entries.empty()) return nullptr;
  // The system's icon size with the most colours, else the largest image.
  const int wanted = GetSystemMetrics(SM_CXICON);
  const Entry* best = &entries.front();
  auto score = [wanted](const Entry& e) {
    return (e.width == wanted && e.height == wanted ? 1 << 20 : 0) + e.width * 64 + e.hotY;
  };
  for (const Entry& e : entries)
    if (score(e) > score(*best)) best = &e;
  std::vector<unsigned char> resource(best->image.begin(), best->image.end());
  HICON icon = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), TRUE,
                                        kResourceVersion, best->width, best->height,
                                        LR_DEFAULTCOLOR);
  return Win32Picture::FromIcon(icon, {best->width, best->height});
}

CursorRef DecodeCur(std::span<const unsigned char> data) {
  const std::vector<Entry> entries = ReadDirectory(data, kCursorType);
  if (entries.empty()) return nullptr;
  const Entry& entry = entries.front();
  // A cursor resource begins with its hot spot, then the image.
  std::vector<unsigned char> resource(4 + entry.image.size());
  resource[0] = static_cast<unsigned char>(entry.hotX & 0xFF);
  resource[1] = static_cast<unsigned char>(entry.hotX >> 8);
  resource[2] = static_cast<unsigned char>(entry.hotY & 0xFF);
  resource[3] = static_cast<unsigned char>(entry.hotY >> 8);
  std::copy(entry.image.begin(), entry.image.end(), resource.begin() + 4);
  HCURSOR cursor = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()),
                                            FALSE, kResourceVersion, entry.width, entry.height,
                                            LR_DEFAULTCOLOR);
  if (!cursor) return nullptr;
  return std::make_shared<Win32Cursor>(cursor);
}

}  // namespace toolkit::win32
