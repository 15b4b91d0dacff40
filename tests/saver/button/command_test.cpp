#include "saver/button/command.h"

#include <gtest/gtest.h>

#include <ostream>

#include <sstream>

#include "tests/saver/support/fake_toolkit.h"

namespace {

using button::Command;
using testsupport::FakeApplication;

constexpr const char* kLookNames[] = {"Normal", "HighLight", "Selected", "HighLightSelect", "Pressed", "Disable"};

const toolkit::Font kDialogFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};
const toolkit::Font kAmbient{"MS UI Gothic", 9, 400, false, false, false, 128};

std::string LayoutOf(const std::string& entries, int width = 1155, int height = 375) {
  return "Begin Lumora.Command Cmd_Set\n   Left = 4860\n   Top = 3000\n   Width = " + std::to_string(width) +
         "\n   Height = " + std::to_string(height) + "\n" + entries + "End\n";
}

const std::string kCaptionAndFont =
    "   Caption = \"設定\"\n   BeginProperty Font\n      Name = \"ＭＳ Ｐゴシック\"\n      Size = 9.75\n"
    "      Weight = 400\n      Charset = 128\n   EndProperty\n";

// One button on a form, as the dialog holds it.
struct Button {
  FakeApplication app;
  toolkit::FormEvents formEvents;
  std::unique_ptr<toolkit::Form> form = app.CreateForm(formEvents);
  Command command{app, *form};
  testsupport::FakeUserControl& control =
      *static_cast<testsupport::FakeForm&>(*form).userControls.at(0);
  testsupport::FakeLabel& label = *control.labels.at(0);
  testsupport::FakeTimer& timer = *control.timers.at(0);
  int clicks = 0;

  explicit Button(const std::string& layout = LayoutOf(kCaptionAndFont)) {
    command.Click = [this] { ++clicks; };
    if (!layout.empty()) command.LoadFromLayout(button::ParseLayout(layout).at(0), kAmbient);
  }
  // The looks painted since the last call, by name: the first frame piece
  // of each paint names its picture.
  std::vector<std::string> Looks() {
    std::vector<std::string> looks;
    for (const std::string& op : control.surface.ops) {
      if (op.rfind("paint picture", 0) == 0 && op.find(" 0,0 4x4 <- ") != std::string::npos) {
        looks.push_back(kLookNames[std::stoi(op.substr(13)) - 1]);
      }
    }
    control.surface.ops.clear();
    return looks;
  }
  void Step(const std::string& step) {
    const toolkit::MouseEvent left{toolkit::LeftButton, 0, 3, 3};
    if (step == "move") command.MouseMove(left);
    else if (step == "down") command.MouseDown(left);
    else if (step == "up") command.MouseUp(left);
    else if (step == "downR") command.MouseDown({toolkit::RightButton, 0, 3, 3});
    else if (step == "upR") command.MouseUp({toolkit::RightButton, 0, 3, 3});
    else if (step == "upM") command.MouseUp({toolkit::MiddleButton, 0, 3, 3});
    else if (step == "labelMove") label.mouse.move(left);
    else if (step == "focus") command.GotFocus();
    else if (step == "blur") command.LostFocus();
    else if (step == "resize") command.Resize();
    else if (step == "disable") command.SetEnabled(false);
    else if (step == "enable") command.SetEnabled(true);
    else if (step.rfind("tick", 0) == 0) {
      // Where the pointer is: over the button, its parent, or elsewhere.
      app.cursor = toolkit::Point{500, 500};
      app.windowsAtPoints[{500, 500}] = step == "tickIn"       ? control.Handle()
                                        : step == "tickParent" ? control.ParentHandle()
                                                               : 0x777;
      timer.Fire();
    } else {
      ADD_FAILURE() << "unknown step " << step;
    }
  }
};

struct TransitionCase {
  const char* name;
  std::vector<std::string> steps;
  int state;
  std::vector<std::string> looks;
  int clicks;
};
void PrintTo(const TransitionCase& c, std::ostream* os) {
  *os << c.name;
}


class Transitions : public testing::TestWithParam<TransitionCase> {};

TEST_P(Transitions, FollowTheTable) {
  const TransitionCase& c = GetParam();
  Button b;
  b.command.Initialize();
  b.Looks();
  for (const std::string& step : c.steps) b.Step(step);
  EXPECT_EQ(b.command.State, c.state);
  EXPECT_EQ(b.Looks(), c.looks);
  EXPECT_EQ(b.clicks, c.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Transitions,
    testing::Values(
        TransitionCase{"HoverEndsWhenThePointerLeaves", {"move", "tickIn", "tickOut"}, 1, {"HighLight", "Normal"}, 0},
        TransitionCase{"PointerOverTheParentEndsHover", {"move", "tickParent"}, 1, {"HighLight", "Normal"}, 0},
        TransitionCase{"CaptionCountsAsTheButton", {"labelMove", "tickIn"}, 2, {"HighLight"}, 0},
        TransitionCase{"PressReleaseInside", {"move", "down", "focus", "up"}, 4,
                       {"HighLight", "Pressed", "Pressed", "HighLightSelect"}, 1},
        TransitionCase{"ReleaseOutsideAfterATick", {"move", "down", "focus", "tickOut", "up"}, 3,
                       {"HighLight", "Pressed", "Pressed", "Selected"}, 0},
        TransitionCase{"ReleaseOutsideBeforeATick", {"move", "down", "focus", "up"}, 4,
                       {"HighLight", "Pressed", "Pressed", "HighLightSelect"}, 1},
        TransitionCase{"OutAndBackInWhileHeld", {"move", "down", "focus", "tickOut", "move", "up", "move"}, 4,
                       {"HighLight", "Pressed", "Pressed", "Selected", "HighLightSelect"}, 0},
        TransitionCase{"RightReleaseClicksWithoutPressed", {"move", "downR", "upR"}, 2, {"HighLight"}, 1},
        TransitionCase{"MiddleReleaseClicks", {"upM"}, 1, {}, 1},
        TransitionCase{"ReleaseWhileSelectedDoesNotClick", {"focus", "upR"}, 3, {"Selected"}, 0},
        TransitionCase{"KeyboardFocusOntoHoverPaintsPressed", {"move", "focus"}, 4, {"HighLight", "Pressed"}, 0},
        TransitionCase{"LostFocusPaintsNormal", {"focus", "blur", "blur"}, 1, {"Selected", "Normal"}, 0},
        TransitionCase{"DisabledIgnoresEverything",
                       {"disable", "move", "down", "focus", "up", "upR", "tickOut", "blur"}, 1, {"Disable"}, 0},
        TransitionCase{"DisabledKeepsTheStateForLater", {"move", "focus", "disable", "tickOut", "enable", "tickOut"},
                       3, {"HighLight", "Pressed", "Disable", "Normal", "Selected"}, 0},
        TransitionCase{"ResizeRepaintsNormalAndKeepsTheState", {"move", "resize"}, 2, {"HighLight", "Normal"}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Transitions, WithoutInitializeOnlyTheFocusStartsTheStates) {
  Button b;
  b.Looks();
  b.Step("move");
  b.Step("tickOut");
  EXPECT_EQ(b.command.State, Command::None);
  EXPECT_TRUE(b.Looks().empty());
  EXPECT_FALSE(b.timer.Enabled());
  b.Step("focus");
  b.Step("blur");
  b.Step("move");
  EXPECT_EQ(b.Looks(), (std::vector<std::string>{"Selected", "Normal", "HighLight"}));
}

// The gradient's top colour: 0xFF00 for white, 0xC600 for lavender.
TEST(Gradient, HighLightSelectKeepsTheDirectionItWasReachedWith) {
  for (const auto& [steps, topRed] : {std::pair{std::vector<std::string>{"move", "focus"}, 0xC600},
                                      {std::vector<std::string>{"focus", "move"}, 0xFF00}}) {
    Button b;
    b.command.Initialize();
    for (const auto& s : steps) b.Step(s);
    ASSERT_EQ(b.command.State, Command::StateHighLightSelect);
    EXPECT_EQ(b.control.surface.lastVertices.at(0).red, topRed);
    EXPECT_EQ(b.control.surface.lastVertices.at(1).red, 0x1C500 - topRed);
  }
}

struct FaceCase {
  int width, height;  // twips
  std::vector<std::string> pieces;
  int captionTop;  // pixels
};
void PrintTo(const FaceCase& c, std::ostream* os) {
  *os << c.width << "x" << c.height;
}


class Face : public testing::TestWithParam<FaceCase> {};

TEST_P(Face, IsOneClearOneFillEightPiecesAndARefresh) {
  const FaceCase& c = GetParam();
  Button b(LayoutOf(kCaptionAndFont, c.width, c.height));
  b.control.surface.ops.clear();
  b.command.PaintFace(button::Look::Normal);
  const int w = c.width / 15, h = c.height / 15;
  std::vector<std::string> expected = {
      "clear", "gradient (0,0 FF00FF00FF00) (" + std::to_string(w - 1) + "," + std::to_string(h - 1) +
                   " C600C500D700) (0,0 000000000000) (0,0 000000000000) 1->0",
      "refresh"};
  for (const auto& piece : c.pieces) expected.push_back("paint picture1 " + piece);
  expected.push_back("refresh");
  EXPECT_EQ(b.control.surface.ops, expected);
  EXPECT_EQ(b.label.bounds, (toolkit::PixelRect{0, c.captionTop, w, 13}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Face,
    testing::Values(FaceCase{1155, 375,
                             {"0,0 4x4 <- 0,0 4x4", "4,0 69x4 <- 4,0 56x4", "73,0 4x4 <- 60,0 4x4",
                              "73,4 4x17 <- 60,4 4x17", "73,21 4x4 <- 60,21 4x4", "4,21 69x4 <- 4,21 56x4",
                              "0,21 4x4 <- 0,21 4x4", "0,4 4x17 <- 0,4 4x17"},
                             5},
                    FaceCase{615, 315,
                             {"0,0 4x4 <- 0,0 4x4", "4,0 33x4 <- 4,0 56x4", "37,0 4x4 <- 60,0 4x4",
                              "37,4 4x13 <- 60,4 4x17", "37,17 4x4 <- 60,21 4x4", "4,17 33x4 <- 4,21 56x4",
                              "0,17 4x4 <- 0,21 4x4", "0,4 4x13 <- 0,4 4x17"},
                             3}));

TEST(VertexColour, CutsTheHexTextIntoGroupsInWrittenOrder) {
  EXPECT_EQ(button::VertexColour("&HC6C5D7"), (std::array<std::uint16_t, 3>{0xC600, 0xC500, 0xD700}));
  EXPECT_EQ(button::VertexColour("&Hc6c5d7"), (std::array<std::uint16_t, 3>{0xC600, 0xC500, 0xD700}));
  EXPECT_FALSE(button::VertexColour("&HC6C5D"));
  EXPECT_FALSE(button::VertexColour("&HC6C5DZ"));
}

}  // namespace
