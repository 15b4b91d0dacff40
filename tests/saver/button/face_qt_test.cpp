// The button's faces as the Linux build shows them: the real Command on the
// Qt backend (offscreen), read back from the control's own painting and held
// byte for byte to the committed golden faces.
#include <gtest/gtest.h>

#include <QImage>

#include "tests/saver/button/face_looks.h"
#include "tests/saver/support/bmp24.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using button::faces::FaceCases;
using button::faces::kFaceSizes;
using toolkittest::App;

class QtFace : public testing::Test {
 protected:
  void SetUp() override {
    form = App().CreateForm(events);
    form->SetBorderStyle(toolkit::BorderStyle::None);
    form->SetClientSize({100, 40});
    form->Load();
  }
  void TearDown() override { form->Unload(); }

  // What the control's window shows.
  toolkit::raster::Image Shown(button::Command& command) {
    const QImage shot = toolkittest::Grab(command.Control().Handle());
    toolkit::raster::Image image(shot.width(), shot.height());
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) image.At(x, y) = shot.pixel(x, y) & 0xFFFFFF;
    }
    return image;
  }
  static toolkit::raster::Image Golden(const std::string& name, int w, int h) {
    const auto golden = testsupport::ReadBmp24(std::string(TOVAREL_BUTTON_GOLDEN_DIR) + "/" +
                                               button::faces::FaceFileName(name, w, h));
    EXPECT_TRUE(golden) << name;
    return golden.value_or(toolkit::raster::Image{});
  }

  toolkittest::RecordingForm events;
  std::unique_ptr<toolkit::Form> form;
};

TEST_F(QtFace, EveryLookAtBothSizesIsTheGoldenFace) {
  for (const auto& size : kFaceSizes) {
    for (const auto& face : FaceCases()) {
      auto command = button::faces::MakeFaceButton(App(), *form, size, "");
      face.drive(*command);
      const toolkit::raster::Image shown = Shown(*command);
      const toolkit::raster::Image golden = Golden(face.name, shown.width, shown.height);
      ASSERT_EQ(shown.width, size.widthTwips / 15) << face.name;
      ASSERT_EQ(shown.height, size.heightTwips / 15) << face.name;
      int differing = 0;
      for (std::size_t i = 0; i < shown.pixels.size() && i < golden.pixels.size(); ++i) {
        differing += shown.pixels[i] != golden.pixels[i];
      }
      EXPECT_EQ(golden.pixels.size(), shown.pixels.size()) << face.name;
      EXPECT_EQ(differing, 0) << face.name << " " << shown.width << "x" << shown.height;
      command->Control().SetVisible(false);
    }
  }
}

// The caption's label sits at 80 twips (5 pixels) in a 375-twip button and
// at 50 twips (3 pixels) in a 315-twip one; its text is drawn from there
// down, over the face.
TEST_F(QtFace, CaptionTopLiesWhereTheFaceSaysAndItsTextBelowIt) {
  const struct {
    button::faces::FaceSize size;
    const char* caption;
    int top;
  } cases[] = {{kFaceSizes[0], "設定", 5}, {kFaceSizes[0], "ｷｬﾝｾﾙ", 5}, {kFaceSizes[1], "...", 3}};
  for (const auto& c : cases) {
    auto command = button::faces::MakeFaceButton(App(), *form, c.size, c.caption);
    const toolkit::raster::Image shown = Shown(*command);
    const toolkit::raster::Image golden = Golden("normal", shown.width, shown.height);
    ASSERT_EQ(shown.pixels.size(), golden.pixels.size());
    const toolkit::PixelRect label = command->LblMsg.Bounds();
    EXPECT_EQ(label.y, c.top) << c.caption;
    int firstInk = -1, lastInk = -1;
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        if (shown.At(x, y) == golden.At(x, y)) continue;
        if (firstInk < 0) firstInk = y;
        lastInk = y;
      }
    }
    ASSERT_GE(firstInk, 0) << c.caption << ": no text drawn";
    EXPECT_GE(firstInk, c.top) << c.caption << ": text above its label";
    EXPECT_LT(lastInk, c.top + label.height) << c.caption << ": text below its label";
    command->Control().SetVisible(false);
  }
}

}  // namespace
