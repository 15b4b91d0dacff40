#pragma once
// Reading the generated picture files in the tests, independently of the
// generators' own writers.
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace arttest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline std::optional<Bytes> ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
inline std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }
inline std::int32_t Le32Signed(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(Le32(b, at)); }

struct Rgb {
  int r, g, b;
  bool Black() const { return r == 0 && g == 0 && b == 0; }
  bool operator==(const Rgb&) const = default;
};

// Pixel (x, row) counts rows as stored: row 0 is the picture's bottom edge.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::size_t offset = 0;
  std::size_t stride = 0;
  const Bytes* bytes = nullptr;

  Rgb At(int x, int row) const {
    const std::size_t at = offset + static_cast<std::size_t>(row) * stride + static_cast<std::size_t>(x) * 3;
    return {(*bytes)[at + 2], (*bytes)[at + 1], (*bytes)[at]};
  }
  // Rows counted from the top, as the pictures are described.
  Rgb TopDown(int x, int y) const { return At(x, height - 1 - y); }
};

// A 24-bit BI_RGB bitmap with bottom-up rows, or nothing.
inline std::optional<Bitmap> Parse(const Bytes& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  Bitmap bmp;
  bmp.width = Le32Signed(bytes, 18);
  bmp.height = Le32Signed(bytes, 22);
  bmp.offset = Le32(bytes, 10);
  if (bmp.width <= 0 || bmp.height <= 0 || Le16(bytes, 28) != 24 || Le32(bytes, 30) != 0) return std::nullopt;
  bmp.stride = (static_cast<std::size_t>(bmp.width) * 3 + 3) / 4 * 4;
  if (bmp.offset + bmp.stride * bmp.height > bytes.size()) return std::nullopt;
  bmp.bytes = &bytes;
  return bmp;
}

// Runs a generator with the given (already quoted) arguments; its exit
// status as std::system gives it.
inline int RunTool(const char* program, const std::string& arguments) {
  const std::string command = std::string("\"") + program + "\" " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str());
}

inline bool ExitedWith(int status, int code) {
  return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code;
}

inline std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// A fresh folder under the system's temporary folder, or an empty path.
inline fs::path MakeScratch(const char* tag) {
  std::string pattern = (fs::temp_directory_path() / (std::string(tag) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

// Offset of the first differing byte, or the common size when equal.
inline std::size_t FirstDifference(const Bytes& a, const Bytes& b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return i;
  }
  return n;
}

}  // namespace arttest
