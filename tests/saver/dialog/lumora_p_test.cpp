#include "saver/dialog/lumora_p.h"

#include <gtest/gtest.h>

#include <ostream>

#include <sys/stat.h>

#include <filesystem>

#include "saver/dialog/background.h"
#include "saver/settings/settings.h"
#include "saver/settings_vars.h"
#include "saver/startup.h"
#include "saver/zoom.h"
#include "tests/saver/support/fake_toolkit.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/support/unprivileged.h"

namespace {

using testsupport::FakeApplication;
using testsupport::FakeForm;

// --- background painting

struct RowCase {
  int height;
  int row;
  int level;
};
void PrintTo(const RowCase& c, std::ostream* os) {
  *os << "row " << c.row << " of " << c.height;
}


class GradientRows : public testing::TestWithParam<RowCase> {};

TEST_P(GradientRows, MatchTheReferenceTables) {
  EXPECT_EQ(dialog::GradientLevel(GetParam().row, GetParam().height), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Reference, GradientRows,
                         testing::Values(RowCase{243, 0, 0}, RowCase{243, 1, 3}, RowCase{243, 10, 28},
                                         RowCase{243, 30, 83}, RowCase{243, 60, 154}, RowCase{243, 121, 220},
                                         RowCase{243, 183, 154}, RowCase{243, 242, 3}, RowCase{243, 243, 0},
                                         RowCase{165, 0, 0}, RowCase{165, 10, 42}, RowCase{165, 82, 220},
                                         RowCase{165, 164, 4}));

TEST(GradientPass, DrawsOneFullWidthLinePerRowIncludingTheRowBelow) {
  testsupport::FakeLog log;
  testsupport::FakeSurface surface(log, "dialog");
  surface.size = {496, 243};
  dialog::PaintGradientPass(surface, dialog::DialogColour);
  ASSERT_EQ(surface.ops.size(), 244u);
  // Colours are &H00BBGGRR: blue is the high byte.
  EXPECT_EQ(surface.ops[0], "line 0,0-496,0 1E0000");
  EXPECT_EQ(surface.ops[121], "line 0,121-496,121 FADCDC");
  EXPECT_EQ(surface.ops[243], "line 0,243-496,243 1E0000");
  EXPECT_EQ(dialog::PanelColour(220), toolkit::MakeColour(250, 250, 250));
}

// --- the dialog

struct Dialog {
  testsupport::TempDir folder;
  FakeApplication app;
  dialog::Lumora_P dialog{app};
  FakeForm* form = nullptr;
  testsupport::FakePictureBox* panel = nullptr;

  explicit Dialog(std::int16_t kind = 0, std::int16_t repeat = 0, std::string file = "") {
    saver::BgmKind = kind;
    saver::BgmRepeat = repeat;
    saver::BgmFile = std::move(file);
    saver::BgmFolder = folder.Path();
    app.programFolder = folder.Path();
    app.cursor = toolkit::Point{700, 500};
  }
  // Opens the dialog; `act` runs while it is shown, as the user would.
  void Open(std::function<void(Dialog&)> act = {}) {
    app.whileModal = [this, act](FakeForm& shown) {
      form = &shown;
      panel = shown.pictureBoxes.at(0).get();
      if (act) act(*this);
    };
    dialog.ShowModal();
  }
  std::string Ini() const { return testsupport::ReadBytes(folder.File("Tovarel.ini")); }
  testsupport::FakeComboBox& Repeat() { return *panel->combos.at(0); }
};

TEST(DialogLayout, EveryControlInPixelsAndTheTabOrder) {
  Dialog d;
  d.Open([](Dialog& d) {
    FakeForm& f = *d.form;
    EXPECT_EQ(f.caption, "<Tovarel>");
    EXPECT_EQ(f.clientSize, (toolkit::Size{496, 243}));
    EXPECT_EQ(f.borderStyle, toolkit::BorderStyle::FixedSingle);
    using testsupport::Describe;
    std::vector<std::string> rects;
    for (auto& c : f.userControls) rects.push_back(c->name + " " + Describe(c->bounds));
    for (auto& c : d.panel->userControls) rects.push_back(c->name + " " + Describe(c->bounds));
    rects.push_back("panel " + Describe(d.panel->bounds));
    rects.push_back("repeat " + Describe(d.Repeat().bounds));
    rects.push_back("frame " + Describe(d.panel->shapes.at(0)->bounds));
    for (auto& l : d.panel->labels) rects.push_back(l->Caption() + " " + Describe(l->bounds));
    for (auto& i : d.panel->images) rects.push_back("marker " + Describe(i->bounds));
    rects.push_back(f.labels.at(0)->Caption() + " " + Describe(f.labels.at(0)->bounds));
    EXPECT_EQ(rects, (std::vector<std::string>{
                         "form.control0 404,200 77x25", "form.control1 324,200 77x25",
                         "form.box0.control0 28,116 41x21", "panel 12,16 469x165", "repeat 112,52 41x20",
                         "frame 20,20 113x21", "BGM 20,24 111x13", "曲目をﾘﾋﾟｰﾄ 156,56 66x13",
                         "音楽CD 44,56 43x13", "MP3、WAV 44,96 60x13", "なし 44,76 22x13", " 72,116 373x33",
                         "marker 28,76 13x13", "marker 28,56 13x13", "marker 28,96 13x13",
                         "https://tovarel.jp/ 12,208 207x13"}));
    EXPECT_EQ(f.labels.at(0)->ForeColour(), toolkit::MakeColour(255, 255, 255));
    EXPECT_TRUE(f.labels.at(0)->GetFont().underline);
    EXPECT_NE(f.labels.at(0)->Pointer(), nullptr);
    EXPECT_EQ(d.panel->labels.at(0)->GetFont(),
              (toolkit::Font{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128}));
    ASSERT_EQ(f.tabOrder.size(), 4u);
    EXPECT_EQ(f.tabOrder[0], &d.Repeat());
    EXPECT_EQ(f.tabOrder[1], d.panel->userControls.at(0).get());
    EXPECT_EQ(f.tabOrder[2], f.userControls.at(1).get());
    EXPECT_EQ(f.tabOrder[3], f.userControls.at(0).get());
    std::vector<std::string> captions;
    for (auto* c : {d.dialog.Cmd_Can.get(), d.dialog.Cmd_Set.get(), d.dialog.Cmd_File0.get()}) {
      captions.push_back(c->Caption());
      EXPECT_EQ(c->State, button::Command::StateNormal) << "initialised";
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"ｷｬﾝｾﾙ", "設定", "..."}));
    EXPECT_EQ(d.Repeat().items.size(), 31u);
    EXPECT_EQ(d.Repeat().items.front(), "");
    EXPECT_EQ(d.Repeat().items.back(), "30");
  });
}

struct KindCase {
  std::int16_t kind;
  int selected;  // -1 none
  bool repeatEnabled;
  bool fileEnabled;
};
void PrintTo(const KindCase& c, std::ostream* os) {
  *os << "kind " << c.kind;
}


class DialogKinds : public testing::TestWithParam<KindCase> {};

TEST_P(DialogKinds, ShowTheMarkerAndTheEnabledControls) {
  const KindCase& c = GetParam();
  Dialog d(c.kind);
  d.Open([&](Dialog& d) {
    const toolkit::PictureRef on = d.dialog.Img_Ra[1]->GetPicture();
    const toolkit::PictureRef off = d.dialog.Img_Ra[0]->GetPicture();
    ASSERT_NE(on, off);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(d.dialog.Img_BGM[static_cast<std::size_t>(k)]->GetPicture(), k == c.selected ? on : off) << k;
    }
    EXPECT_EQ(d.Repeat().enabled, c.repeatEnabled);
    EXPECT_EQ(d.dialog.Cmd_File0->enabledFlag != 0, c.fileEnabled);
  });
}

INSTANTIATE_TEST_SUITE_P(Kinds, DialogKinds,
                         testing::Values(KindCase{0, 0, false, false}, KindCase{1, 1, true, false},
                                         KindCase{2, 2, false, true}, KindCase{7, -1, false, false},
                                         KindCase{-1, -1, false, false}));

TEST(DialogChoice, AnyButtonOnMarkerOrLabelSelectsOnThePressAndKeepsTheFile) {
  Dialog d(2, 0, "/music/a.mp3");
  d.Open([](Dialog& d) {
    d.panel->labels.at(2)->mouse.down({toolkit::RightButton, 0, 1, 1});  // "音楽CD"
    EXPECT_EQ(saver::BgmKind, 1);
    EXPECT_TRUE(d.Repeat().enabled);
    d.panel->images.at(0)->mouse.down({toolkit::MiddleButton, 0, 1, 1});  // marker of "なし"
    EXPECT_EQ(saver::BgmKind, 0);
    EXPECT_FALSE(d.Repeat().enabled);
    d.dialog.Set();
  });
  EXPECT_NE(d.Ini().find("/music/a.mp3"), std::string::npos);
}

struct SetCase {
  const char* text;
  const char* written;  // the repeat line's value
};
void PrintTo(const SetCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}


class DialogSet : public testing::TestWithParam<SetCase> {};

TEST_P(DialogSet, WritesTheThreeKeysInCodePage932) {
  Dialog d(2, 12, "/m/song.mp3");
  d.Open([&](Dialog& d) {
    d.Repeat().text = GetParam().text;
    d.dialog.Set();
  });
  EXPECT_EQ(d.Ini(), std::string("[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4=") +
                         GetParam().written + "\r\nBGM\xCC\xA7\xB2\xD9=/m/song.mp3\r\n");
  EXPECT_FALSE(d.form->Loaded());
}

INSTANTIATE_TEST_SUITE_P(RepeatTexts, DialogSet,
                         testing::Values(SetCase{"abc", " 0"}, SetCase{"", " 0"}, SetCase{"2.5", " 2"},
                                         SetCase{"3.5", " 4"}, SetCase{"45", " 45"}, SetCase{"-3", "-3"},
                                         SetCase{"1e3", " 1000"}, SetCase{" 7 ", " 7"},
                                         SetCase{"99999", " 12"}, SetCase{"-32768.4", "-32768"}));

// A folder the user cannot write (a system-wide install): Set keeps the choice
// in the user's own copy instead of losing it.
TEST(DialogSetProtected, WritesTheUsersCopyAndReadsItBack) {
  if (!testsupport::UnprivilegedUser()) GTEST_SKIP() << "no unprivileged user to run as";
  testsupport::TempDir program;
  testsupport::TempDir config;
  chmod(program.Path().c_str(), geteuid() == 0 ? 0755 : 0555);
  testsupport::GiveToUnprivileged(config.Path());
  const std::string folder = program.Path();
  const std::string configHome = config.Path();
  std::optional<std::string> loaded = testsupport::RunUnprivileged([folder, configHome] {
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    FakeApplication app;
    app.programFolder = folder;
    saver::BgmKind = 1;
    saver::BgmRepeat = 0;
    saver::BgmFile.clear();
    dialog::Lumora_P settings(app);
    app.whileModal = [&](FakeForm&) {
      settings.BGM_Repeat->SetText("5");
      settings.Set();
    };
    settings.ShowModal();
    saver::BgmKind = saver::BgmRepeat = 0;
    saver::SettingsPlace place;
    place.programFolder = folder;
    saver::LoadSettings(place);
    return std::to_string(saver::BgmKind) + " " + std::to_string(saver::BgmRepeat);
  });
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, "1 5");
  EXPECT_FALSE(std::filesystem::exists(program.File("Tovarel.ini")));
  EXPECT_EQ(testsupport::ReadBytes(config.Path() + "/tovarel/Tovarel.ini"),
            "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nBGM\xD8\xCB\xDF\xB0\xC4= 5\r\nBGM\xCC\xA7\xB2\xD9=\r\n");
}

// Nowhere to save (the program's folder and the per-user place both closed
// to the user): Set says so, the file stays as it was and the dialog open.
TEST(DialogSetProtected, NowhereToSaveIsToldAndChangesNothing) {
  if (!testsupport::UnprivilegedUser()) GTEST_SKIP() << "no unprivileged user to run as";
  testsupport::TempDir program;
  testsupport::TempDir config;
  const std::string before = "[Section]\r\nBGM\x8B\xE6\x95\xAA= 0\r\n";
  testsupport::WriteBytes(program.File("Tovarel.ini"), before);
  chmod(program.Path().c_str(), 0555);
  chmod(config.Path().c_str(), 0555);
  const std::string folder = program.Path();
  const std::string configHome = config.Path();
  std::optional<std::string> outcome = testsupport::RunUnprivileged([folder, configHome] {
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    FakeApplication app;
    app.programFolder = folder;
    saver::BgmKind = 2;
    saver::BgmFile = "/m/a.mp3";
    dialog::Lumora_P settings(app);
    bool stillOpen = false;
    app.whileModal = [&](FakeForm& form) {
      settings.Set();
      stillOpen = form.Loaded();
      settings.Cancel();
    };
    settings.ShowModal();
    const std::string told = std::string("message ") + std::string(dialog::kSaveFailedMessage) + " | " +
                             std::string(saver::kProgramTitle);
    return std::string(app.logger.Contains(told) ? "told" : "silent") + (stillOpen ? " open" : " closed");
  });
  ASSERT_TRUE(outcome);
  EXPECT_EQ(*outcome, "told open");
  EXPECT_EQ(testsupport::ReadBytes(program.File("Tovarel.ini")), before);
  EXPECT_FALSE(std::filesystem::exists(config.Path() + "/tovarel"));
}

TEST(DialogClose, CancelAndTheCloseBoxWriteNothingAndZoomBackToThePoint) {
  for (bool closeBox : {false, true}) {
    Dialog d(1, 3, "");
    testsupport::WriteBytes(d.folder.File("Tovarel.ini"), "[Section]\r\nodd line\r\n");
    d.Open([&](Dialog& d) {
      d.panel->images.at(2)->mouse.down({toolkit::LeftButton, 0, 1, 1});
      if (closeBox) d.form->CloseBox();
      else d.dialog.Cancel();
    });
    EXPECT_EQ(d.Ini(), "[Section]\r\nodd line\r\n");
    const std::vector<std::string>& log = d.app.log;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.back(), "zoom 261,166,763,434 -> 700,500,700,500");
  }
}

TEST(DialogLoad, PlacesTheWindowAndZoomsFromThePointer) {
  Dialog d;
  d.app.cursor.reset();  // the pointer cannot be read
  saver::ZoomPointX = 5;
  d.Open();
  // 502 x 268 outer pixels on 1024 x 768: (15360 - 7530) / 2 = 3915 and
  // (11520 - 4020) / 3 = 2500 twips.
  EXPECT_EQ(d.form->outer, (toolkit::PixelRect{261, 166, 502, 268}));
  EXPECT_EQ(saver::LastApiResult, 0);
  EXPECT_TRUE(d.app.logger.Contains("zoom 0,0,0,0 -> 261,166,763,434"));
  EXPECT_EQ(dialog::DialogPlacement({100, 300}, {115, 30}), (toolkit::Point{-7, 90}));
}

TEST(DialogFile, ChoosingAFileShowsItAndMovesTheStartFolder) {
  Dialog d(2, 0, "");
  d.app.openFileResults = {{0, ""}, {1, "/home/u/曲/a b.MP3"}};
  d.Open([](Dialog& d) {
    d.dialog.Cmd_File0->MouseUp({toolkit::LeftButton, 0, 1, 1});  // cancelled
    EXPECT_EQ(saver::BgmFile, "");
    d.dialog.Cmd_File0->MouseUp({toolkit::LeftButton, 0, 1, 1});
  });
  ASSERT_EQ(d.app.openFileRequests.size(), 2u);
  const toolkit::OpenFileRequest& r = d.app.openFileRequests[0];
  EXPECT_EQ(r.filterDescription, "BGMﾌｧｲﾙ (MP3 WAV)");
  EXPECT_EQ(r.filterPattern, "*.MP3;*.WAV");
  EXPECT_EQ(r.title, "ﾌｧｲﾙを開く");
  EXPECT_EQ(r.initialFolder, d.folder.Path());
  EXPECT_EQ(saver::BgmFile, "/home/u/曲/a b.MP3");
  EXPECT_EQ(saver::BgmFolder, "/home/u/曲");
  EXPECT_EQ(d.panel->labels.at(5)->Caption(), "/home/u/曲/a b.MP3");
}

TEST(DialogFile, APathTheSettingsFileCannotHoldKeepsThePreviousOne) {
  // An emoji has no Shift-JIS form; 300 characters read back cut to 255 bytes.
  // A double quote would end the music command's quoted name.
  for (const std::string& path : {std::string("/m/\xF0\x9F\x8E\xB5.mp3"), "/" + std::string(295, 'a') + ".mp3",
                                  std::string("/m/say \"hi\".mp3")}) {
    Dialog d(2, 0, "/m/old.mp3");
    d.app.openFileResults = {{1, path}};
    d.Open([](Dialog& d) { d.dialog.ChooseFile(0); });
    EXPECT_EQ(saver::BgmFile, "/m/old.mp3");
    EXPECT_TRUE(d.app.logger.Contains(std::string("message ") + std::string(dialog::kUnwritablePathMessage) +
                                      " | <Tovarel>"));
  }
  Dialog d(2, 0, "");
  const std::string longest = "/" + std::string(250, 'a') + ".mp3";  // 255 bytes
  d.app.openFileResults = {{1, longest}};
  d.Open([](Dialog& d) { d.dialog.ChooseFile(0); });
  EXPECT_EQ(saver::BgmFile, longest);
}

TEST(DialogWebPage, OpensTheAddressWithTheBusyPointerAround) {
  Dialog d;
  d.Open([](Dialog& d) {
    d.app.log.clear();
    d.form->labels.at(0)->mouse.click();
  });
  EXPECT_EQ(std::vector<std::string>(d.app.log.begin(), d.app.log.begin() + 3),
            (std::vector<std::string>{"pointer busy", "open url https://tovarel.jp/", "pointer arrow"}));
}

}  // namespace
