// make_art <outdir>: writes the renderer's three bitmaps into <outdir>.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/art/bmp_writer.h"
#include "tools/art/textures.h"

namespace {

struct Output {
  const char* fileName;
  art::Image (*make)();
};

constexpr Output Outputs[] = {
    {"flyer_127.bmp", art::MakeFlyer},
    {"sky_123.bmp", art::MakeSky},
    {"blue_124.bmp", art::MakePlainBlue},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: make_art <output folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) {
    std::fprintf(stderr, "make_art: cannot use %s as the output folder\n", argv[1]);
    return 1;
  }
  for (const Output& output : Outputs) {
    const std::filesystem::path path = folder / output.fileName;
    if (!art::WriteBytes(path, art::EncodeBmp24(output.make()))) {
      std::fprintf(stderr, "make_art: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
