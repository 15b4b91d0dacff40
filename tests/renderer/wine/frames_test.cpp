// The Windows build draws what the Linux build draws, from the same bitmaps.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/image_compare.h"
#include "tools/xclient/png_file.h"
#include "tests/renderer/wine/renderer_wine.h"

namespace renderer_wine {
namespace {

namespace fs = std::filesystem;

// A binary PPM as frame_capture.exe writes it: top-down RGB.
std::optional<xclient::Image> ReadPpm(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  xclient::Image image;
  if (!(in >> magic >> image.width >> image.height >> maxValue) || magic != "P6" || maxValue != 255) return std::nullopt;
  in.get();
  if (image.width <= 0 || image.height <= 0 || image.width > 8192 || image.height > 8192) return std::nullopt;
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  if (!in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size())))
    return std::nullopt;
  return image;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RendererFrames : public RendererWineTest {};

TEST_F(RendererFrames, FramesMatchTheLinuxGoldens) {
  const fs::path dir = fs::path(session_->WorkDir()) / "frames";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto run = Run(bin_.capture, {wine_harness::WindowsPath(dir.string()), "1", "200", "700", "2000"}, 300);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // The context drawn into is the one asked for: double-buffered RGBA on
  // the window, with a depth buffer of at least 16 bits.
  const Fields format = ParseFields(run.output);
  EXPECT_EQ(Field(format, "opengl"), "1");
  EXPECT_EQ(Field(format, "window"), "1");
  EXPECT_EQ(Field(format, "doublebuffer"), "1");
  EXPECT_EQ(Field(format, "rgba"), "1");
  EXPECT_GE(std::atoi(Field(format, "depthbits").c_str()), 16);
  // Drawn in full screen, in the mode the renderer switched to.
  EXPECT_EQ(Field(format, "mode"), "1024,768,16");

  // Wine's opengl32 and glu32 hand the drawing to the host's GL: when that
  // is the GL that drew the goldens, the bytes are the same; another GL is
  // held to the tolerance. 700 and 2000 show the cloudy sky, loaded from the
  // program's own resource 123.
  const std::string gl = "vendor=" + Field(format, "vendor") + "\nrenderer=" + Field(format, "renderer") +
                         "\nversion=" + Field(format, "version") + "\n";
  const bool sameGl = gl == ReadText(fs::path(TOVAREL_GOLDEN_DIR) / "gl.txt");
  if (!sameGl) std::cout << "other GL than the goldens':\n" << gl;
  for (const char* frame : {"frame_0001", "frame_0200", "frame_0700", "frame_2000"}) {
    const auto drawn = ReadPpm(dir / (std::string(frame) + ".ppm"));
    const auto golden = xclient::ReadPng(std::string(TOVAREL_GOLDEN_DIR) + "/" + frame + ".png");
    ASSERT_TRUE(drawn) << frame << " was not written";
    ASSERT_TRUE(golden) << frame << " has no golden image";
    EXPECT_EQ(drawn->width, 1024);
    EXPECT_EQ(drawn->height, 768);
    const auto difference =
        testsupport::Compare(drawn->width, drawn->height, drawn->rgb, golden->width, golden->height, golden->rgb);
    EXPECT_TRUE(sameGl ? testsupport::Identical(difference) : testsupport::WithinOtherGlTolerance(difference))
        << frame << ": " << testsupport::Describe(difference);
  }
}

// FNV-1a, as probe.exe hashes the rows a bitmap resource loads to.
std::uint64_t HashBytes(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t hash = 1469598103934665603ull;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

std::uint32_t Read32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

// "width,height,bits,hash" of the pixel rows of a 24-bit BMP file.
std::string DescribeBitmapFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 54) return "unreadable";
  const std::uint32_t offset = Read32(d, 10);
  const std::int32_t width = static_cast<std::int32_t>(Read32(d, 18));
  const std::int32_t height = static_cast<std::int32_t>(Read32(d, 22));
  const unsigned bits = d[28] | d[29] << 8;
  const std::size_t size = ((static_cast<std::size_t>(width) * bits / 8 + 3) & ~std::size_t{3}) * height;
  if (offset + size > d.size()) return "truncated";
  char text[80];
  std::snprintf(text, sizeof(text), "%d,%d,%u,%016llx", width, height, bits,
                static_cast<unsigned long long>(HashBytes(&d[offset], size)));
  return text;
}

class RendererResources : public RendererWineTest {};

TEST_F(RendererResources, CarriesTheThreeBitmapsTheIconAndItsName) {
  const auto run = Run(bin_.probe, {"resources", wine_harness::WindowsPath(bin_.renderer)});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  const fs::path bitmaps = TOVAREL_RENDERER_BITMAP_DIR;
  const struct {
    const char* key;
    const char* file;
  } table[] = {{"bitmap127", "flyer_127.bmp"}, {"bitmap123", "sky_123.bmp"}, {"bitmap124", "blue_124.bmp"}};
  for (const auto& row : table) {
    ASSERT_TRUE(fields.count(row.key)) << run.output;
    // Loaded by Windows from the program, the rows are the file's own.
    EXPECT_EQ(Field(fields, row.key), DescribeBitmapFile(bitmaps / row.file)) << row.key;
  }
  EXPECT_EQ(Field(fields, "icon"), "32,32");
  EXPECT_EQ(Field(fields, "originalfilename"), "Tovarel.dll");
}

}  // namespace
}  // namespace renderer_wine
