#include "saver/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/settings_vars.h"
#include "tests/saver/startup/fake_application.h"
#include "tests/saver/support/temp_dir.h"

namespace {

using testsupport::FakeApplication;

const std::string kFindRun = "find Lumora_Main";
const std::string kFindDialog = "find <Tovarel>";
const std::string kMissing =
    "message Tovarel.dll が同じﾌｫﾙﾀﾞに見つかりません！ | Tovarel (ScreenSaver)";

saver::ModeEntries RecordingModes(FakeApplication& app) {
  saver::ModeEntries modes;
  modes.loadPreviewForm = [&app](toolkit::Application&, std::int32_t host) {
    app.Record("preview " + std::to_string(host));
  };
  modes.showSettingsDialog = [&app](toolkit::Application&) { app.Record("dialog"); };
  modes.loadRunForm = [&app](toolkit::Application&) { app.Record("run form"); };
  return modes;
}

struct DispatchCase {
  const char* name;
  std::string commandLine;
  bool rendererPresent;
  std::vector<std::string> windows;
  std::vector<std::string> expected;
  bool loadsSettings;
};

class MainTest : public testing::TestWithParam<DispatchCase> {};

TEST_P(MainTest, Dispatches) {
  const DispatchCase& c = GetParam();
  testsupport::TempDir folder;
  if (c.rendererPresent) testsupport::WriteBytes(folder.File("Tovarel.dll"), "ELF");
  testsupport::WriteBytes(folder.File("Tovarel.ini"),
                          "[Section]\r\nBGM\xD8\xCB\xDF\xB0\xC4= 9\r\n");
  saver::BgmRepeat = 0;
  saver::BgmFolder.clear();

  FakeApplication app;
  app.commandLine = c.commandLine;
  app.programFolder = folder.Path();
  // Names of claims held by other copies stand among the windows.
  for (const std::string& name : c.windows) (name.starts_with("_TOVAREL") ? app.claims : app.windows).insert(name);
  saver::Main(app, RecordingModes(app));

  EXPECT_EQ(app.log, c.expected);
  EXPECT_EQ(saver::BgmRepeat, c.loadsSettings ? 9 : 0);
  EXPECT_EQ(saver::BgmFolder, c.loadsSettings ? folder.Path() : "");
}

const std::vector<std::string> kChecks = {kFindRun, kFindDialog};

std::vector<std::string> After(std::vector<std::string> tail) {
  std::vector<std::string> all = kChecks;
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

// The run's and the dialog's claims come before the title check.
std::vector<std::string> Claimed(const std::string& claim, std::vector<std::string> rest) {
  rest.insert(rest.begin(), "claim " + claim);
  return rest;
}
const std::string kRun = "_TOVAREL_RUN";
const std::string kSettings = "_TOVAREL_SETTINGS";

INSTANTIATE_TEST_SUITE_P(
    Table, MainTest,
    testing::Values(
        DispatchCase{"SlashS", "/s", true, {}, Claimed(kRun, After({"cursor hide", "run form"})), true},
        DispatchCase{"SlashUpperS", "/S", true, {}, Claimed(kRun, After({"cursor hide", "run form"})), true},
        DispatchCase{"DashS", "-s", true, {}, Claimed(kRun, After({"cursor hide", "run form"})), true},
        DispatchCase{"Empty", "", true, {}, Claimed(kRun, After({"run form"})), true},
        DispatchCase{"SlashC", "/c", true, {}, Claimed(kSettings, After({"dialog", "end"})), true},
        DispatchCase{"SlashCWithParent", "/c:4711", true, {}, Claimed(kSettings, After({"dialog", "end"})), true},
        DispatchCase{"SlashUpperC", "/C", true, {}, Claimed(kSettings, After({"dialog", "end"})), true},
        DispatchCase{"PreviewSpace", "/p 1234", true, {}, After({"preview 1234"}), false},
        DispatchCase{"PreviewColon", "/p:1234", true, {}, After({"preview 1234"}), false},
        DispatchCase{"PreviewUpper", "/P 77", false, {}, After({"preview 77"}), false},
        DispatchCase{"PreviewNoHandle", "/p", true, {}, After({"preview 0"}), false},
        DispatchCase{"PreviewJunkHandle", "/p xyz", true, {}, After({"preview 0"}), false},
        DispatchCase{"PreviewHugeHandle", "/p 99999999999", true, {}, After({"preview 0"}),
                     false},
        DispatchCase{"PreviewRendererMissing", "/p 1234", false, {}, After({"preview 1234"}),
                     false},
        DispatchCase{"UnknownSwitch", "/a", true, {}, After({"end"}), true},
        DispatchCase{"OneCharacter", "s", true, {}, After({"end"}), true},
        DispatchCase{"NonAsciiLetter", "/ſ", true, {}, After({"end"}), true},
        DispatchCase{"RendererMissingSettings", "/c", false, {}, Claimed(kSettings, After({kMissing, "end"})), true},
        DispatchCase{"RendererMissingRun", "/s", false, {}, Claimed(kRun, After({kMissing, "end"})), true},
        DispatchCase{"RendererMissingEmpty", "", false, {}, Claimed(kRun, After({kMissing, "end"})), true},
        DispatchCase{"RendererMissingUnknown", "/a", false, {}, After({kMissing, "end"}), true},
        DispatchCase{"RunOpenS", "/s", true, {"Lumora_Main"}, Claimed(kRun, {kFindRun, "end"}), false},
        DispatchCase{"RunOpenC", "/c", false, {"Lumora_Main"}, Claimed(kSettings, {kFindRun, "end"}), false},
        DispatchCase{"RunOpenP", "/p 1234", true, {"Lumora_Main"}, {kFindRun, "end"}, false},
        DispatchCase{"DialogOpenS", "/s", true, {"<Tovarel>"}, Claimed(kRun, After({"end"})), false},
        DispatchCase{"DialogOpenP", "/p 5", true, {"<Tovarel>"}, After({"end"}), false},
        DispatchCase{"RunClaimedS", "/s", true, {"_TOVAREL_RUN"}, {"claim _TOVAREL_RUN", "end"}, false},
        DispatchCase{"RunClaimedEmpty", "", true, {"_TOVAREL_RUN"}, {"claim _TOVAREL_RUN", "end"}, false},
        DispatchCase{"SettingsClaimedC", "/c", true, {"_TOVAREL_SETTINGS"}, {"claim _TOVAREL_SETTINGS", "end"},
                     false},
        DispatchCase{"OtherClaimDoesNotBlock", "/c", true, {"_TOVAREL_RUN"},
                     Claimed(kSettings, After({"dialog", "end"})), true},
        DispatchCase{"PreviewClaimsNothing", "/p 9", true, {"_TOVAREL_RUN", "_TOVAREL_SETTINGS"},
                     After({"preview 9"}), false},
        DispatchCase{"PreviewDoesNotBlock", "/s", true, {"Preview Window"},
                     Claimed(kRun, After({"cursor hide", "run form"})), true}),
    [](const testing::TestParamInfo<DispatchCase>& info) { return info.param.name; });

TEST(CommandLineTest, ModeLetterIsTheSecondCharacterUpperCased) {
  EXPECT_EQ(saver::ModeLetter("/s"), "S");
  EXPECT_EQ(saver::ModeLetter("xc123"), "C");
  EXPECT_EQ(saver::ModeLetter("s"), "");
  EXPECT_EQ(saver::ModeLetter(""), "");
  EXPECT_EQ(saver::ModeLetter("あs"), "S");  // characters, not bytes
  EXPECT_EQ(saver::ModeLetter("/ß"), "ß");
}

TEST(CommandLineTest, PreviewHandleFromTheFourthCharacter) {
  EXPECT_EQ(saver::PreviewHostHandle("/p 1234"), 1234);
  EXPECT_EQ(saver::PreviewHostHandle("/p:1234"), 1234);
  EXPECT_EQ(saver::PreviewHostHandle("/p  42 tail"), 42);
  EXPECT_EQ(saver::PreviewHostHandle("/p 12.5"), 12);  // half to even
  EXPECT_EQ(saver::PreviewHostHandle("/p 13.5"), 14);
  EXPECT_EQ(saver::PreviewHostHandle("/p 2147483647"), 2147483647);
  EXPECT_EQ(saver::PreviewHostHandle("/p -7"), -7);
  EXPECT_EQ(saver::PreviewHostHandle("/p"), 0);
  EXPECT_EQ(saver::PreviewHostHandle("/pあ99"), 99);
  EXPECT_EQ(saver::PreviewHostHandle("/p 1e999"), 0);
}

}  // namespace
