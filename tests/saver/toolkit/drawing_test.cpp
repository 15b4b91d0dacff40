// What the backend draws: the retained surface and the windowless controls
// over it, read back from the window's own painting (offscreen).
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>

#include "saver/toolkit/qt/qt_font.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkit::MakeColour;
using toolkittest::App;
using toolkittest::Grab;
using toolkittest::RecordingForm;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;

// A 2 x 2, 24-bit BMP: red, green on the top row; blue, white below.
std::vector<unsigned char> SmallBmp() {
  std::vector<unsigned char> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
                                    0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 0, 0, 0, 0, 0, 0};
  // Rows bottom-up, BGR, padded to 4 bytes.
  const unsigned char rows[] = {255, 0, 0, 255, 255, 255, 0, 0,  // blue, white
                                0, 0, 255, 0, 255, 0, 0, 0};     // red, green
  bmp.insert(bmp.end(), std::begin(rows), std::end(rows));
  return bmp;
}

class Drawing : public testing::Test {
 protected:
  void SetUp() override {
    form = App().CreateForm(events);
    form->SetBorderStyle(toolkit::BorderStyle::None);
    form->SetClientSize({60, 40});
    form->Load();
    form->SetBackColour(MakeColour(0, 0, 0));
  }
  void TearDown() override { form->Unload(); }
  QImage Shot() { return Grab(form->Handle()); }
  // Pixels of `colour` inside and outside a rectangle.
  static std::pair<int, int> Count(const QImage& image, QRgb colour, const QRect& inside) {
    int in = 0, out = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == colour) ++(inside.contains(x, y) ? in : out);
      }
    }
    return {in, out};
  }

  RecordingForm events;
  std::unique_ptr<toolkit::Form> form;
};

TEST_F(Drawing, SurfaceKeepsWhatIsDrawnThroughResizes) {
  toolkit::Surface& surface = form->GetSurface();
  surface.Line({0, 5}, {60, 5}, MakeColour(255, 0, 0));
  form->SetClientSize({20, 20});
  EXPECT_EQ(surface.PixelSize(), (toolkit::Size{20, 20}));
  form->SetClientSize({80, 50});
  QImage shot = Shot();
  ASSERT_EQ(shot.size(), QSize(80, 50));
  EXPECT_EQ(shot.pixel(59, 5), kRed) << "a smaller window lost what was drawn";
  EXPECT_EQ(shot.pixel(70, 5), kBlack) << "new area in the back colour";
  EXPECT_EQ(shot.pixel(10, 6), kBlack);

  form->SetBackColour(MakeColour(255, 255, 255));  // clears to the new colour
  EXPECT_EQ(Shot().pixel(10, 5), kWhite);
  surface.Line({2, 2}, {2, 9}, MakeColour(255, 0, 0));
  surface.Clear();
  EXPECT_EQ(Shot().pixel(2, 4), kWhite);
}

TEST_F(Drawing, PicturesAreCopiedAsDecoded) {
  const std::vector<unsigned char> bmp = SmallBmp();
  toolkit::PictureRef picture = App().LoadPicture(bmp);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->PixelSize(), (toolkit::Size{2, 2}));
  form->GetSurface().PaintPicture(*picture, {10, 10, 4, 4}, {0, 0, 2, 2});
  toolkit::Image& image = form->AddImage();
  image.SetPicture(picture);
  image.Move({30, 10, 1, 5});  // cut to its bounds: one column
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixel(10, 10), kRed);
  EXPECT_EQ(shot.pixel(13, 11), 0xFF00FF00u);
  EXPECT_EQ(shot.pixel(11, 13), 0xFF0000FFu);
  EXPECT_EQ(shot.pixel(13, 13), kWhite);
  EXPECT_EQ(shot.pixel(30, 10), kRed);
  EXPECT_EQ(shot.pixel(30, 11), 0xFF0000FFu);
  EXPECT_EQ(shot.pixel(31, 10), kBlack) << "an image is cut to its bounds";
  EXPECT_EQ(shot.pixel(30, 12), kBlack) << "natural size, not stretched";
}

TEST_F(Drawing, ShapeIsAOnePixelOutline) {
  toolkit::Shape& shape = form->AddShape();
  shape.SetBorderColour(MakeColour(255, 255, 255));
  shape.Move({5, 6, 10, 8});
  const auto [in, out] = Count(Shot(), kWhite, QRect(5, 6, 10, 8));
  EXPECT_EQ(in, 2 * 10 + 2 * 6);
  EXPECT_EQ(out, 0);
}

TEST_F(Drawing, LabelTextIsCutToItsBoundsAndGreyedWhenDisabled) {
  toolkit::Label& label = form->AddLabel();
  label.SetFont({"DejaVu Sans", 12, 700, false, false, false, 0});
  label.SetForeColour(MakeColour(255, 255, 255));
  label.SetCaption("WWWW WWWW WWWW");
  label.Move({4, 4, 30, 20});
  const auto [in, out] = Count(Shot(), kWhite, QRect(4, 4, 30, 20));
  EXPECT_GT(in, 10);
  EXPECT_EQ(out, 0) << "text outside the label";

  label.SetEnabled(false);
  const QImage greyed = Shot();
  const auto [greyIn, greyOut] = Count(greyed, qRgb(128, 128, 128), QRect(4, 4, 30, 20));
  EXPECT_GT(greyIn, 10);
  EXPECT_EQ(greyOut, 0);
  // The white copy lies one pixel right and down, under the grey one.
  int whiteBelowGrey = 0;
  for (int y = 4; y < 23; ++y) {
    for (int x = 4; x < 33; ++x) {
      whiteBelowGrey += greyed.pixel(x, y) == qRgb(128, 128, 128) && greyed.pixel(x + 1, y + 1) == kWhite;
    }
  }
  EXPECT_GT(whiteBelowGrey, 0);
}

TEST_F(Drawing, LabelBorderAndAutoSize) {
  form->SetBackColour(MakeColour(255, 255, 255));
  toolkit::Label& framed = form->AddLabel();
  framed.Move({2, 2, 20, 10});
  framed.SetBorder(true);
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixel(2, 2), kBlack);
  EXPECT_EQ(shot.pixel(21, 11), kBlack);
  EXPECT_EQ(shot.pixel(21, 1), kWhite);
  EXPECT_EQ(shot.pixel(22, 11), kWhite);

  const toolkit::Font font{"DejaVu Sans", 9.75, 400, false, false, false, 0};
  toolkit::Label& sized = form->AddLabel();
  sized.SetFont(font);
  sized.Move({7, 9, 500, 300});
  sized.SetAutoSize(true);
  sized.SetCaption("Tovarel");
  const QFont qfont = toolkit::qt::MakeQFont(font, 96);
  const toolkit::PixelRect bounds = sized.Bounds();
  EXPECT_EQ(bounds.x, 7);
  EXPECT_EQ(bounds.y, 9);
  EXPECT_NEAR(bounds.width, QFontMetricsF(qfont).horizontalAdvance("Tovarel"), 1.0);
  EXPECT_EQ(bounds.height, QFontMetrics(qfont).height());
  sized.SetCaption("Tovarel Tovarel");
  EXPECT_GT(sized.Bounds().width, bounds.width * 2) << "one line, however long";
  EXPECT_EQ(sized.Bounds().height, bounds.height);
}

TEST_F(Drawing, CentredTextSitsInTheMiddle) {
  toolkit::Label& label = form->AddLabel();
  label.SetFont({"DejaVu Sans", 9, 400, false, false, false, 0});
  label.SetForeColour(MakeColour(255, 255, 255));
  label.SetCaption("ii");
  label.SetAlignment(toolkit::Alignment::Centre);
  label.Move({0, 0, 60, 20});
  const QImage shot = Shot();
  int left = 60, right = -1;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (qRed(shot.pixel(x, y)) > 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  ASSERT_GE(right, left);
  EXPECT_NEAR(left, 59 - right, 2);
}

TEST(QtFont, SizedAsGdiSizesPointsAndFindsTheScript) {
  struct Case {
    double points;
    int dpi;
    int pixels;
  };
  for (const Case c : {Case{9.75, 96, 13}, Case{8.25, 96, 11}, Case{12, 96, 16}, Case{9.75, 120, 16}}) {
    EXPECT_EQ(toolkit::qt::MakeQFont({"x", c.points, 400, false, false, false, 0}, c.dpi).pixelSize(), c.pixels)
        << c.points << " pt at " << c.dpi;
  }
  const QFont bold = toolkit::qt::MakeQFont({"x", 9, 700, true, true, true, 0}, 96);
  EXPECT_EQ(bold.weight(), QFont::Bold);
  EXPECT_TRUE(bold.italic() && bold.underline() && bold.strikeOut());
  // A missing family falls back on one that writes the character set's script.
  const QFont japanese = toolkit::qt::MakeQFont({"NoSuchFont", 9, 400, false, false, false, 128}, 96);
  EXPECT_EQ(japanese.families().front(), "NoSuchFont");
  const QStringList writers = QFontDatabase::families(QFontDatabase::Japanese);
  if (!writers.isEmpty()) {
    EXPECT_EQ(japanese.families().value(1), writers.front());
  }
}

}  // namespace
