#include "tools/xclient/png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace xclient {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool WritePng(const std::string& path, const Image& image) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

std::optional<Image> ReadPng(const std::string& path) {
  png_image reader{};
  reader.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&reader, path.c_str())) return std::nullopt;
  reader.format = PNG_FORMAT_RGB;
  Image image;
  image.width = static_cast<int>(reader.width);
  image.height = static_cast<int>(reader.height);
  image.rgb.resize(PNG_IMAGE_SIZE(reader));
  if (!png_image_finish_read(&reader, nullptr, image.rgb.data(), 0, nullptr)) {
    png_image_free(&reader);
    return std::nullopt;
  }
  return image;
}

}  // namespace xclient
