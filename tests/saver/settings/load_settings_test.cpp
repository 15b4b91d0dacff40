#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "saver/settings/settings.h"
#include "saver/settings_vars.h"
#include "tests/saver/support/temp_dir.h"

namespace {

using saver::BgmFile;
using saver::BgmFolder;
using saver::BgmKind;
using saver::BgmRepeat;
using saver::PathSyntax;
using saver::SettingsPlace;

void ResetVariables() {
  BgmKind = 0;
  BgmRepeat = 0;
  BgmFile.clear();
  BgmFolder.clear();
}

constexpr const char* kUserFolder = "C:\\Users\\u\\AppData\\Roaming\\Tovarel";

// Windows-style program folder and files, served from memory.
struct FakeWindows {
  std::map<std::string, std::string> values;  // key -> value in "Section"
  std::set<std::string> files;
  std::vector<std::string> iniPaths;

  SettingsPlace Place(const std::string& folder) {
    SettingsPlace place;
    place.programFolder = folder;
    place.syntax = PathSyntax::Windows;
    place.readIni = [this](std::string_view section, std::string_view key,
                           const std::string& file) {
      iniPaths.push_back(file);
      auto it = values.find(std::string(key));
      return section == "Section" && it != values.end() ? it->second : std::string();
    };
    place.fileExists = [this](const std::string& path) {
      std::string name = path;
      if (!name.empty() && name.back() == '\\') name.pop_back();
      return files.count(name) > 0;
    };
    place.store.userFolder = [] { return std::string(kUserFolder); };
    place.store.fileExists = place.fileExists;
    return place;
  }
};

struct WindowsCase {
  const char* name;
  std::map<std::string, std::string> values;
  std::set<std::string> files;
  std::int16_t kind, repeat;
  std::string file, folder;
};

class LoadSettingsWindowsTest : public testing::TestWithParam<WindowsCase> {};

TEST_P(LoadSettingsWindowsTest, Loads) {
  const WindowsCase& c = GetParam();
  ResetVariables();
  FakeWindows fake{c.values, c.files, {}};
  saver::LoadSettings(fake.Place("C:\\Tovarel"));
  EXPECT_EQ(BgmKind, c.kind);
  EXPECT_EQ(BgmRepeat, c.repeat);
  EXPECT_EQ(BgmFile, c.file);
  EXPECT_EQ(BgmFolder, c.folder);
  EXPECT_EQ(fake.iniPaths,
            std::vector<std::string>(3, "C:\\Tovarel\\Tovarel.ini"));  // formed for each read
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoadSettingsWindowsTest,
    testing::Values(
        WindowsCase{"NoFile", {}, {}, 0, 0, "", "C:\\Tovarel"},
        WindowsCase{"FileKindWithFile",
                    {{"BGM区分", "2"}, {"BGMﾘﾋﾟｰﾄ", "3"}, {"BGMﾌｧｲﾙ", "C:\\Music\\a.mp3"}},
                    {"C:\\Music\\a.mp3"}, 2, 3, "C:\\Music\\a.mp3", "C:\\Music"},
        WindowsCase{"FileKindWithoutFile", {{"BGM区分", "2"}}, {}, 0, 0, "", "C:\\Tovarel"},
        WindowsCase{"FileKindWithDeletedFile",
                    {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", "C:\\Music\\gone.mp3"}}, {}, 0, 0, "",
                    "C:\\Tovarel"},
        WindowsCase{"CdKindWithDeletedFileKeepsKind",
                    {{"BGM区分", "1"}, {"BGMﾌｧｲﾙ", "C:\\Music\\gone.mp3"}}, {}, 1, 0, "",
                    "C:\\Tovarel"},
        WindowsCase{"FolderWithTrailingBackslash",
                    {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", "C:\\Music\\"}}, {}, 0, 0, "", "C:\\Tovarel"},
        WindowsCase{"FileAtDriveRoot", {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", "C:\\song.wav"}},
                    {"C:\\song.wav"}, 2, 0, "C:\\song.wav", "C:"},
        WindowsCase{"NotANumber", {{"BGM区分", "abc"}, {"BGMﾘﾋﾟｰﾄ", "x1"}}, {}, 0, 0, "",
                    "C:\\Tovarel"},
        WindowsCase{"Fraction", {{"BGM区分", "2.9"}, {"BGMﾘﾋﾟｰﾄ", "-0.5"}}, {}, 0, -1, "",
                    "C:\\Tovarel"},  // 2.9 gives 2, and no file makes it 0
        WindowsCase{"UnknownKind", {{"BGM区分", "7"}}, {}, 7, 0, "", "C:\\Tovarel"},
        WindowsCase{"SignPositionAndBlanks", {{"BGM区分", " 1 "}, {"BGMﾘﾋﾟｰﾄ", " 12"}}, {}, 1,
                    12, "", "C:\\Tovarel"},
        WindowsCase{"OutOfRange", {{"BGM区分", "40000"}, {"BGMﾘﾋﾟｰﾄ", "-32769"}}, {}, 0, 0, "",
                    "C:\\Tovarel"}),
    [](const testing::TestParamInfo<WindowsCase>& info) { return info.param.name; });

TEST(LoadSettingsTest, FailedConversionKeepsTheEarlierValueButEmptyTextClearsIt) {
  ResetVariables();
  BgmKind = 1;
  BgmRepeat = 5;
  FakeWindows fake{{{"BGM区分", "abc"}}, {}, {}};
  saver::LoadSettings(fake.Place("C:\\Tovarel"));
  EXPECT_EQ(BgmKind, 1);
  EXPECT_EQ(BgmRepeat, 0);
}

TEST(LoadSettingsTest, UserCopyIsReadInPlaceOfTheProgramFolders) {
  ResetVariables();
  const std::string user = std::string(kUserFolder) + "\\Tovarel.ini";
  FakeWindows fake{{{"BGM区分", "1"}}, {user}, {}};
  saver::LoadSettings(fake.Place("C:\\Windows\\System32"));
  EXPECT_EQ(fake.iniPaths, std::vector<std::string>(3, user));
  EXPECT_EQ(BgmKind, 1);
  EXPECT_EQ(BgmFolder, "C:\\Windows\\System32");  // the file chooser still starts there
}

TEST(LoadSettingsTest, ProgramFolderAtRootGivesTwoSeparators) {
  ResetVariables();
  FakeWindows fake;
  saver::LoadSettings(fake.Place("C:\\"));
  EXPECT_EQ(fake.iniPaths.front(), "C:\\\\Tovarel.ini");
  EXPECT_EQ(BgmFolder, "C:\\");
}

// The same rules over real files and the POSIX path syntax.
class LoadSettingsPosixTest : public testing::Test {
 protected:
  void SetUp() override { ResetVariables(); }
  void WriteIniFile(const std::string& text) { testsupport::WriteBytes(dir.File("Tovarel.ini"), text); }
  void Load() {
    SettingsPlace place;
    place.programFolder = dir.Path();
    saver::LoadSettings(place);
  }
  testsupport::TempDir dir;
  testsupport::TempDir music;
};

const std::string kKindCp = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeatCp = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileCp = "BGM\xCC\xA7\xB2\xD9";

TEST_F(LoadSettingsPosixTest, NoIniFile) {
  Load();
  EXPECT_EQ(BgmKind, 0);
  EXPECT_EQ(BgmRepeat, 0);
  EXPECT_EQ(BgmFile, "");
  EXPECT_EQ(BgmFolder, dir.Path());
  EXPECT_FALSE(std::filesystem::exists(dir.File("Tovarel.ini")));
}

TEST_F(LoadSettingsPosixTest, WrittenFileWithJapanesePath) {
  const std::string song = music.File("曲.mp3");
  testsupport::WriteBytes(song, "ID3");
  saver::WriteIni("Section", saver::kKeyBgmKind, " 2", dir.File("Tovarel.ini"));
  saver::WriteIni("Section", saver::kKeyBgmRepeat, " 4", dir.File("Tovarel.ini"));
  saver::WriteIni("Section", saver::kKeyBgmFile, song, dir.File("Tovarel.ini"));
  Load();
  EXPECT_EQ(BgmKind, 2);
  EXPECT_EQ(BgmRepeat, 4);
  EXPECT_EQ(BgmFile, song);
  EXPECT_EQ(BgmFolder, music.Path());
}

TEST_F(LoadSettingsPosixTest, DeletedMusicFileFallsBackWithoutChangingTheIni) {
  const std::string text = "[Section]\r\n" + kKindCp + "= 2\r\n" + kFileCp + "=" +
                           music.File("gone.mp3") + "\r\n";
  WriteIniFile(text);
  Load();
  EXPECT_EQ(BgmKind, 0);
  EXPECT_EQ(BgmFile, "");
  EXPECT_EQ(BgmFolder, dir.Path());
  EXPECT_EQ(testsupport::ReadBytes(dir.File("Tovarel.ini")), text);
}

TEST_F(LoadSettingsPosixTest, MusicPathNamingAFolderOrPipeIsCleared) {
  std::filesystem::create_directory(music.File("sub"));
  const std::string pipe = music.File("song.mp3");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  // Held open at both ends with bytes waiting: a reader would neither wait
  // for a writer nor go unnoticed, and opening it would succeed.
  const int held = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(held, 0);
  ASSERT_EQ(write(held, "ID3", 3), 3);
  for (const std::string& path : {music.Path() + "/", music.File("sub"), pipe}) {
    ResetVariables();
    WriteIniFile("[Section]\r\n" + kKindCp + "= 2\r\n" + kFileCp + "=" + path + "\r\n");
    Load();
    EXPECT_EQ(BgmKind, 0) << path;
    EXPECT_EQ(BgmFile, "") << path;
  }
  char left[8];
  EXPECT_EQ(read(held, left, sizeof left), 3) << "the pipe was read";
  close(held);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(LoadSettingsPosixTest, OtherSpellingsOfTheKeysDoNotMatch) {
  // Full-width katakana and an ASCII fold of a trail byte are other keys.
  WriteIniFile("[Section]\r\nBGM\x83\x8A\x83\x73\x81\x5B\x83\x67= 3\r\n" + kKindCp +
               "x= 1\r\n");
  Load();
  EXPECT_EQ(BgmRepeat, 0);
  EXPECT_EQ(BgmKind, 0);
}

TEST_F(LoadSettingsPosixTest, HostileFilesGiveDefaults) {
  const std::string hostile[] = {
      std::string("\0\0\0\0", 4),
      "[Section]\r\n" + kKindCp + "=\x81\r\n" + kRepeatCp + "=\xFF\xFF\r\n" + kFileCp + "=\x81\r\n",
      "[Section]\r\n" + kKindCp + "=" + std::string(10 * 1024 * 1024, '9') + "\r\n",
      "[Section" + std::string(100000, '[') + "\r\n" + kKindCp + "= 2\r\n",
  };
  for (const std::string& text : hostile) {
    ResetVariables();
    WriteIniFile(text);
    Load();
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmRepeat, 0);
    EXPECT_EQ(BgmFile, "");
    EXPECT_EQ(BgmFolder, dir.Path());
  }
}

// Millions of lines are read one at a time: memory stays near the file's own
// size, where a table of lines would need gigabytes and end the program.
TEST_F(LoadSettingsPosixTest, MillionsOfLinesFitInTheFilesOwnMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address-space limit cannot hold under AddressSanitizer";
#else
  WriteIniFile(std::string(40 * 1024 * 1024, '\n') + "[Section]\r\n" + kKindCp + "= 1\r\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit limit{768ull << 20, 768ull << 20};
    setrlimit(RLIMIT_AS, &limit);
    ResetVariables();
    Load();
    _exit(BgmKind == 1 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
#endif
}

TEST_F(LoadSettingsPosixTest, FolderNamedLikeTheIniGivesDefaults) {
  std::filesystem::create_directory(dir.File("Tovarel.ini"));
  BgmKind = 0;
  Load();
  EXPECT_EQ(BgmKind, 0);
  EXPECT_EQ(BgmFolder, dir.Path());
}

TEST_F(LoadSettingsPosixTest, ProgramFolderAtRoot) {
  SettingsPlace place;
  place.programFolder = "/";
  std::vector<std::string> paths;
  place.readIni = [&](std::string_view, std::string_view, const std::string& file) {
    paths.push_back(file);
    return std::string();
  };
  saver::LoadSettings(place);
  EXPECT_EQ(paths.front(), "//Tovarel.ini");
  EXPECT_EQ(BgmFolder, "/");
}

}  // namespace
