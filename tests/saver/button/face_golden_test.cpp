// The committed golden faces of the button: what the program logic paints
// today over GDI's pixel rules, and what the frame table asks of them.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "saver/button/state_images.h"
#include "tests/saver/button/face_render.h"
#include "tests/saver/support/bmp24.h"

namespace {

using button::faces::FaceCases;
using button::faces::FaceFileName;
using button::faces::kFaceSizes;
using toolkit::raster::Image;
using toolkit::raster::Rgb;

std::string Golden(const std::string& name, int w, int h) {
  return std::string(TOVAREL_BUTTON_GOLDEN_DIR) + "/" + FaceFileName(name, w, h);
}

Image Render(const std::string& name, int sizeIndex) {
  for (const auto& face : FaceCases())
    if (name == face.name) return button::faces::RenderFace(face, kFaceSizes[sizeIndex]);
  ADD_FAILURE() << "no face " << name;
  return {};
}

Image StatePicture(button::Look look) { return testsupport::DecodeBmp24(button::StateImage(look)).value_or(Image{}); }

int Red(std::uint32_t rgb) { return static_cast<int>(rgb >> 16 & 0xFF); }
int Blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

TEST(ButtonFaceGolden, CommittedReferencesAreWhatTheLogicPaints) {
  for (int s = 0; s < 2; ++s) {
    for (const auto& face : FaceCases()) {
      const Image painted = button::faces::RenderFace(face, kFaceSizes[s]);
      ASSERT_EQ(painted.width, s == 0 ? 77 : 41);
      ASSERT_EQ(painted.height, s == 0 ? 25 : 21);
      const auto golden = testsupport::ReadBmp24(Golden(face.name, painted.width, painted.height));
      ASSERT_TRUE(golden) << face.name << ": run tools/regenerate-button-faces.sh";
      EXPECT_TRUE(golden->pixels == painted.pixels) << face.name << " " << painted.width << "x" << painted.height;
    }
  }
}

TEST(ButtonFaceGolden, FramesCarryTheirStatesOutlineColours) {
  struct Case {
    const char* face;
    int x, y;
    std::uint32_t rgb;
  } cases[] = {
      {"normal", 38, 1, Rgb(0x00, 0x3C, 0x74)},    {"normal", 1, 12, Rgb(0x00, 0x3C, 0x74)},
      {"normal", 75, 12, Rgb(0x00, 0x3C, 0x74)},   {"normal", 38, 23, Rgb(0x00, 0x3C, 0x74)},
      {"highlight", 38, 1, Rgb(0x00, 0x3C, 0x74)}, {"selected", 38, 1, Rgb(0x00, 0x3C, 0x74)},
      {"pressed", 38, 0, Rgb(0xEC, 0xE9, 0xD8)},   {"pressed", 38, 2, Rgb(0x00, 0x3C, 0x74)},
      {"pressed", 2, 12, Rgb(0x00, 0x3C, 0x74)},   {"pressed", 38, 22, Rgb(0x00, 0x3C, 0x74)},
      {"disable", 38, 0, Rgb(0xEC, 0xE9, 0xD8)},   {"disable", 38, 1, Rgb(0xC9, 0xC7, 0xBA)},
      {"disable", 75, 12, Rgb(0xC9, 0xC7, 0xBA)},  {"disable", 38, 2, Rgb(0xF5, 0xF4, 0xEA)},
  };
  std::map<std::string, Image> faces;
  for (const Case& c : cases) {
    if (!faces.count(c.face)) faces[c.face] = Render(c.face, 0);
    EXPECT_EQ(faces[c.face].At(c.x, c.y), c.rgb) << c.face << " (" << c.x << "," << c.y << ")";
  }
}

TEST(ButtonFaceGolden, GradientRunsWhiteToLavenderOrBack) {
  // Inside the frame: white at the top fading to lavender, or the reverse
  // for a face that HighLight set the direction of.
  const struct {
    const char* face;
    bool lavenderTop;
  } cases[] = {{"normal", false},          {"selected", false},
               {"highlightselect", false}, {"highlight", true},
               {"pressed", true},          {"highlightselect_reversed", true}};
  for (const auto& c : cases) {
    for (int s = 0; s < 2; ++s) {
      const Image face = Render(c.face, s);
      const std::uint32_t top = face.At(face.width / 2, 4), bottom = face.At(face.width / 2, face.height - 5);
      // Lavender (198, 197, 215) is less red than white; blue stays high.
      if (c.lavenderTop) {
        EXPECT_LT(Red(top), Red(bottom)) << c.face << " " << s;
      } else {
        EXPECT_GT(Red(top), Red(bottom)) << c.face << " " << s;
      }
      EXPECT_GE(Blue(top), 215) << c.face;
      EXPECT_GE(Blue(bottom), 215) << c.face;
    }
  }
}

TEST(ButtonFaceGolden, EdgesAreCopiedOrStretchedFromTheStatePicture) {
  const Image picture = StatePicture(button::Look::Normal);
  ASSERT_EQ(picture.width, 64);
  const Image wide = Render("normal", 0);
  const Image narrow = Render("normal", 1);
  // 77 x 25: the side edges are the picture's rows 4..20, one to one, and
  // the corners its corners.
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(wide.At(x, y), picture.At(x, y)) << x << "," << y;
      EXPECT_EQ(wide.At(76 - x, y), picture.At(63 - x, y)) << x << "," << y;
    }
  // 41 x 21: the corners stay 4 x 4; the bottom edge's rows come from the
  // picture's bottom rows, the top edge's from its top.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(narrow.At(x, y), picture.At(x, y)) << x << "," << y;
      EXPECT_EQ(narrow.At(40 - x, 20 - y), picture.At(63 - x, 24 - y)) << x << "," << y;
    }
  EXPECT_EQ(narrow.At(20, 1), Rgb(0x00, 0x3C, 0x74));
  EXPECT_EQ(narrow.At(20, 19), Rgb(0x00, 0x3C, 0x74));
}

}  // namespace
