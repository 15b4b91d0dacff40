// make_button_faces FOLDER: paints every face of the button's golden set
// with the real Command over the recording toolkit, whose surfaces draw
// with toolkit::raster (GDI's own pixels), and writes them as 24-bit BMPs.
#include <cstdio>
#include <string>

#include "tests/saver/button/face_render.h"
#include "tests/saver/support/bmp24.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_button_faces FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int failed = 0;
  for (const button::faces::FaceSize& size : button::faces::kFaceSizes) {
    for (const button::faces::FaceCase& face : button::faces::FaceCases()) {
      const toolkit::raster::Image image = button::faces::RenderFace(face, size);
      const std::string path = folder + "/" + button::faces::FaceFileName(face.name, image.width, image.height);
      if (!testsupport::WriteBmp24(path, image)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        ++failed;
        continue;
      }
      std::printf("%s\n", path.c_str());
    }
  }
  return failed == 0 ? 0 : 1;
}
