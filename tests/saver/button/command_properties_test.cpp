#include <gtest/gtest.h>

#include "saver/button/command.h"
#include "tests/saver/support/fake_toolkit.h"

namespace {

using button::Command;
using button::PropertyBag;

const toolkit::Font kAmbient{"MS UI Gothic", 9, 400, false, false, false, 128};

struct Host {
  testsupport::FakeApplication app;
  toolkit::FormEvents events;
  std::unique_ptr<toolkit::Form> form = app.CreateForm(events);
  Command command{app, *form};
  testsupport::FakeUserControl& control = *static_cast<testsupport::FakeForm&>(*form).userControls.at(0);
  testsupport::FakeLabel& label = *control.labels.at(0);
  std::vector<std::string> reported;
  Host() { command.PropertyChanged = [this](std::string_view key) { reported.emplace_back(key); }; }
  void Load(const std::string& entries) {
    const std::string text = "Begin Lumora.Command Cmd\n Width = 1155\n Height = 375\n" + entries + "End\n";
    command.LoadFromLayout(button::ParseLayout(text).at(0), kAmbient);
  }
  std::string LastLook() const {
    for (auto it = control.surface.ops.rbegin(); it != control.surface.ops.rend(); ++it) {
      if (it->rfind("paint picture", 0) == 0) return it->substr(13, it->find(' ', 13) - 13);
    }
    return "";
  }
};

TEST(StoredProperties, DialogButtonWithCaptionAndFontLoadsEnabledBlackAndOpaque) {
  Host h;
  h.Load("Caption = \"設定\"\nBeginProperty Font\nName = \"ＭＳ Ｐゴシック\"\nSize = 9.75\nCharset = 128\nEndProperty\n");
  EXPECT_EQ(h.command.enabledFlag, Command::True);
  EXPECT_EQ(h.command.FirstRun, 1);
  EXPECT_EQ(h.label.ForeColour(), 0u);
  EXPECT_FALSE(h.control.transparent);
  EXPECT_EQ(h.command.Caption(), "設定");
  EXPECT_EQ(h.label.GetFont(), (toolkit::Font{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128}));
  EXPECT_EQ(h.LastLook(), "1") << "Normal";
  EXPECT_TRUE(h.label.enabled);
}

TEST(StoredProperties, WriteThenReadGivesTheSameButton) {
  Host a;
  a.command.SetCaption("Command");
  const toolkit::Font font{"IPAPGothic", 14.25, 700, true, true, true, 1};
  a.command.SetFont(font);
  a.command.SetFontColour(0x0000FF);
  a.command.SetEnabled(false);
  a.command.SetVisible(0);
  EXPECT_EQ(a.reported, (std::vector<std::string>{"Caption", "Font", "FontColour", "Enabled", "Visible"}));

  PropertyBag bag;
  a.command.WriteProperties(bag, kAmbient);
  std::vector<std::string> keys;
  for (const auto& e : bag.Entries()) keys.push_back(e.key);
  // "Command" is the caption's default and is not stored; FirstRun 0 is.
  EXPECT_EQ(keys, (std::vector<std::string>{"Enabled", "FirstRun", "Font", "FontColour", "Visible"}));

  const std::string text = button::WriteLayout({{"Lumora.Command", "Cmd", 0, 0, 1155, 375, bag}});
  Host b;
  b.command.LoadFromLayout(button::ParseLayout(text).at(0), kAmbient);
  EXPECT_EQ(b.command.Caption(), "Command1");
  EXPECT_EQ(b.label.GetFont(), font);
  EXPECT_EQ(b.command.enabledFlag, Command::False);
  EXPECT_EQ(b.command.FirstRun, 0);
  EXPECT_EQ(b.label.ForeColour(), 0x0000FFu);
  EXPECT_TRUE(b.control.transparent);
  EXPECT_EQ(b.LastLook(), "6") << "Disable";
}

TEST(StoredProperties, DefaultsAreNotWrittenAndOneEqualsItsText) {
  Host h;
  h.Load("");
  PropertyBag bag;
  bag.Set("Visible", std::string("0"));  // an earlier value goes when the default is written
  h.command.WriteProperties(bag, kAmbient);
  ASSERT_EQ(bag.Entries().size(), 1u);
  EXPECT_EQ(bag.Entries()[0].key, "Caption");  // "Command1" differs from the write default
  EXPECT_TRUE(button::SameStoredValue("1", " 1"));
  EXPECT_TRUE(button::SameStoredValue("1", "1.0"));
  EXPECT_FALSE(button::SameStoredValue("1", "True"));
}

TEST(Visible, AnyNonZeroValueShowsTheFaceAndReadsBack255) {
  for (int value : {1, 2, 255}) {
    Host h;
    h.Load("Visible = 0\n");
    ASSERT_TRUE(h.control.transparent);
    EXPECT_EQ(h.command.Visible(), 0);
    h.command.SetVisible(static_cast<std::uint8_t>(value));
    EXPECT_FALSE(h.control.transparent);
    EXPECT_EQ(h.command.Visible(), 255);
  }
}

TEST(FirstRun, NewInstanceStartsDisabledUntilEnabledIsFirstRead) {
  Host h;
  h.control.Move({0, 0, 77, 25});  // the parent sizes it
  EXPECT_EQ(h.LastLook(), "6") << "Disable";
  h.command.SetFontColour(0x00FF00);
  EXPECT_EQ(h.label.ForeColour(), 0x00FF00u) << "RefreshFace does nothing while disabled";
  EXPECT_TRUE(h.command.Enabled());
  EXPECT_EQ(h.command.FirstRun, 1);
  EXPECT_EQ(h.LastLook(), "1") << "Normal";
  EXPECT_EQ(h.label.ForeColour(), 0x00FF00u);
}

TEST(FirstRun, StoredZeroWithTheFlagOnResetsTheColourToBlack) {
  Host h;
  h.Load("FirstRun = 0\nFontColour = 255\n");
  EXPECT_EQ(h.label.ForeColour(), 0u) << "the read handler's RefreshFace";
  h.command.SetFontColour(0xFF);
  EXPECT_EQ(h.label.ForeColour(), 0u);
}

TEST(FontColour, ReadingItWhileHoveredRepaintsNormalAndKeepsTheState) {
  Host h;
  h.Load("FontColour = 128\n");
  h.command.Initialize();
  h.command.MouseMove({});
  ASSERT_EQ(h.LastLook(), "2") << "HighLight";
  EXPECT_EQ(h.command.FontColour(), 128u);
  EXPECT_EQ(h.LastLook(), "1") << "Normal";
  EXPECT_EQ(h.command.State, Command::StateHighLight);
}

TEST(RefreshFace, APaintThatFailsMakesTheCaptionBlack) {
  Host h;
  h.app.failPictures = true;
  Command broken(h.app, *h.form);  // its state pictures could not be loaded
  auto& label = *static_cast<testsupport::FakeForm&>(*h.form).userControls.at(1)->labels.at(0);
  broken.LoadFromLayout(button::ParseLayout("Begin Lumora.Command C\nFontColour = 128\nEnd\n").at(0), kAmbient);
  EXPECT_EQ(label.ForeColour(), 0u);
}

TEST(Layout, SkipsWhatDoesNotFitAndDropsAControlWithoutItsEnd) {
  const auto controls = button::ParseLayout(
      "# the dialog\nBegin Lumora.Command Cmd_Can\n  Left = 6060\n  nonsense\n  Caption = \"a \"\"b\"\"\"\nEnd\n"
      "Begin Lumora.Command Cmd_Lost\n  Caption = \"x\"\n");
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0].name, "Cmd_Can");
  EXPECT_EQ(controls[0].left, 6060);
  EXPECT_EQ(controls[0].properties.ReadProperty("Caption", ""), "a \"b\"");
}

}  // namespace
