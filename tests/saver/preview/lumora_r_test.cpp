#include "saver/preview/lumora_r.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "saver/zoom.h"
#include "tests/saver/support/fake_toolkit.h"

namespace {

using testsupport::FakeApplication;

constexpr toolkit::WindowHandle kHost = 4660;

struct PreviewCase {
  const char* name;
  int width;
  int height;
  toolkit::PixelRect expected;  // the form in the host and the picture's bounds
};
void PrintTo(const PreviewCase& c, std::ostream* os) {
  *os << c.name;
}


class Preview : public testing::TestWithParam<PreviewCase> {};

TEST_P(Preview, CoversTheHostInTheSetUpOrder) {
  const PreviewCase& c = GetParam();
  FakeApplication app;
  app.windowRects[kHost] = {300, 200, 300 + c.width, 200 + c.height};
  saver::Lumora_R preview(app);
  preview.Setup(kHost);

  const std::string rect = testsupport::Describe(c.expected);
  EXPECT_EQ(app.log, (std::vector<std::string>{"load Preview Window", "child style", "parent 4660",
                                               "form move " + rect, "form.image0 move " + rect,
                                               "show Preview Window"}));
  testsupport::FakeForm* form = app.FormTitled("Preview Window");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->borderStyle, toolkit::BorderStyle::None);
  EXPECT_EQ(form->backColour, toolkit::MakeColour(0, 0, 0));
  ASSERT_EQ(form->images.size(), 1u);
  ASSERT_NE(form->images[0]->picture, nullptr);
  EXPECT_EQ(form->images[0]->picture->PixelSize(), (toolkit::Size{152, 112}));
  EXPECT_FALSE(app.ended);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, Preview,
    testing::Values(PreviewCase{"ControlPanel", 152, 112, {0, 0, 152, 112}},
                    PreviewCase{"Larger", 200, 150, {0, 0, 200, 150}},
                    PreviewCase{"Widest16Bit", 2184, 100, {0, 0, 2184, 100}},
                    PreviewCase{"TooWideGetsNoSize", 2185, 100, {0, 0, 0, 100}},
                    PreviewCase{"TooTallGetsNoSize", 100, 4000, {0, 0, 100, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// No window, the desktop (as large as the screen) or larger: no control
// panel's preview, so the program ends without a form.
TEST(PreviewHost, ThatIsNoPreviewWindowEndsTheProgramWithoutAForm) {
  const std::optional<toolkit::ScreenRect> hosts[] = {
      std::nullopt, toolkit::ScreenRect{0, 0, 1024, 768}, toolkit::ScreenRect{-10, -10, 3000, 2000}};
  for (const auto& host : hosts) {
    FakeApplication app;
    if (host) app.windowRects[99] = *host;
    saver::Lumora_R preview(app);
    preview.Setup(99);
    EXPECT_EQ(app.log, (std::vector<std::string>{"end"}));
    EXPECT_TRUE(app.forms.empty());
  }
}

TEST(Zoom, RunsFromThePointToTheWindowAndBack) {
  FakeApplication app;
  app.windowRects[77] = {10, 20, 510, 290};
  saver::ZoomPointX = 400;
  saver::ZoomPointY = -3;
  saver::ZoomOpen(app, 77);
  saver::ZoomClose(app, 77);
  saver::ZoomOpen(app, 78);  // no such window: nothing drawn
  EXPECT_EQ(app.log, (std::vector<std::string>{"zoom 400,-3,400,-3 -> 10,20,510,290",
                                               "zoom 10,20,510,290 -> 400,-3,400,-3"}));
}

}  // namespace
