// The Windows build of the saver program under Wine: the system's profile
// functions behind ReadIni/WriteIni/LoadSettings, and Main's checks.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "saver/common/code_page.h"
#include "saver/settings/ini_text.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/x11/settings_bytes.h"
#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"
#include "tests/wine/x_input.h"
#include "tests/wine/x_screen.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Fields = wine_harness::ProbeFields;
constexpr auto& ParseFields = wine_harness::ParseProbeFields;

constexpr int kRunSeconds = 60;
constexpr int kExitWaitMs = 30000;

class SaverWineTest : public testing::Test {
 protected:
  void SetUp() override {
    std::optional<std::string> saver = wine_harness::WindowsBinary("Tovarel.scr");
    std::optional<std::string> check = wine_harness::WindowsBinary("saver_settings_check.exe");
    std::optional<std::string> title = wine_harness::WindowsBinary("saver_title_window.exe");
    if (!saver || !check || !title) GTEST_SKIP() << "the Windows build's programs are not built";
    std::string error;
    session = wine_harness::SharedSession({}, error);
    ASSERT_NE(session, nullptr) << error;
    folder = session->WorkDir() + "/saver-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(*saver, folder + "/Tovarel.scr");
    fs::copy_file(*check, folder + "/saver_settings_check.exe");
    titleWindow = *title;
  }

  std::string Ini() const { return folder + "/Tovarel.ini"; }
  std::string WinIni() const { return wine_harness::WindowsPath(Ini()); }

  wine_harness::RunResult Check(const std::vector<std::string>& args) const {
    return session->Run(folder + "/saver_settings_check.exe", args, kRunSeconds);
  }
  // On the session's screen, not on whatever $DISPLAY the test runs with.
  bool MessageBoxShown() const { return wine_harness::XWindowExists(session->DisplayName(), "Tovarel (ScreenSaver)"); }

  wine_harness::WineSession* session = nullptr;
  std::string folder;
  std::string titleWindow;
};

TEST_F(SaverWineTest, ProfileFunctionsWriteCp932AndReadBack) {
  for (auto [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"BGM区分", " 2"}, {"BGMﾘﾋﾟｰﾄ", " 0"}, {"BGMﾌｧｲﾙ", "C:\\音楽\\曲.mp3"}}) {
    EXPECT_EQ(Check({"write", WinIni(), "Section", key, value}).exitCode, 0);
  }
  const std::string bytes = testsupport::ReadBytes(Ini());
  EXPECT_NE(bytes.find("[Section]\r\n"), std::string::npos) << bytes;
  // The system writes the names in the ANSI code page, 932 here.
  EXPECT_NE(bytes.find("BGM\x8B\xE6\x95\xAA="), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("BGM\xD8\xCB\xDF\xB0\xC4="), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("BGM\xCC\xA7\xB2\xD9=C:\\\x89\xB9\x8A\x79\\\x8B\xC8.mp3\r\n"),
            std::string::npos)
      << bytes;
  EXPECT_EQ(ParseFields(Check({"read", WinIni(), "section", "bgm区分"}).output)["value"], "2");
  EXPECT_EQ(ParseFields(Check({"read", WinIni(), "Section", "BGMﾌｧｲﾙ"}).output)["value"],
            "C:\\音楽\\曲.mp3");
  EXPECT_EQ(ParseFields(Check({"read", WinIni(), "Section", "BGMリピート"}).output)["value"], "");
}

// The two builds are peers over one file: what either writes, the other
// reads the same (a value's surrounding blanks are not part of it).
const std::vector<std::pair<std::string, std::string>> kPeerValues = {
    {"BGM区分", " 2"}, {"BGMﾘﾋﾟｰﾄ", " 3"}, {"BGMﾌｧｲﾙ", "C:\\音楽 フォルダ\\曲.mp3"}};

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

TEST_F(SaverWineTest, FilesWrittenUnderWineReadTheSameThroughTheLinuxEngine) {
  fs::remove(Ini());
  for (const auto& [key, value] : kPeerValues)
    ASSERT_EQ(Check({"write", WinIni(), "Section", key, value}).exitCode, 0) << key;
  const std::string bytes = testsupport::ReadBytes(Ini());
  for (const auto& [key, value] : kPeerValues) {
    const auto found = saver::ini::FindValue(bytes, "section", *common::Utf8ToCp932(key));
    ASSERT_TRUE(found) << key << " in " << bytes;
    EXPECT_EQ(common::Cp932ToUtf8Lossy(*found), Trimmed(value)) << key;
  }
}

TEST_F(SaverWineTest, FilesWrittenByTheLinuxEngineReadTheSameUnderWine) {
  std::string bytes = "; written on Linux\r\n";
  for (const auto& [key, value] : kPeerValues) {
    const auto next = saver::ini::SetValue(bytes, "Section", *common::Utf8ToCp932(key),
                                           *common::Utf8ToCp932(value));
    ASSERT_TRUE(next) << key;
    bytes = *next;
  }
  testsupport::WriteBytes(Ini(), bytes);
  for (const auto& [key, value] : kPeerValues)
    EXPECT_EQ(ParseFields(Check({"read", WinIni(), "SECTION", key}).output)["value"], Trimmed(value)) << key;
}

TEST_F(SaverWineTest, ValueTheCodePageCannotHoldIsNotWritten) {
  EXPECT_EQ(Check({"write", WinIni(), "Section", "BGMﾌｧｲﾙ", "C:\\old.mp3"}).exitCode, 0);
  const std::string before = testsupport::ReadBytes(Ini());
  EXPECT_EQ(Check({"write", WinIni(), "Section", "BGMﾌｧｲﾙ", "C:\\😀.mp3"}).exitCode, 0);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), before);
}

// --- the same file on every system code page

struct CodePage {
  const char* locale;
  const char* acp;
};

class SettingsCodePageWineTest : public testing::TestWithParam<CodePage> {
 protected:
  void SetUp() override {
    std::optional<std::string> check = wine_harness::WindowsBinary("saver_settings_check.exe");
    if (!check) GTEST_SKIP() << "the Windows build's programs are not built";
    std::string error;
    session = wine_harness::SharedSession({}, error, GetParam().locale);
    ASSERT_NE(session, nullptr) << error;
    folder = session->WorkDir() + "/code-page-" + std::string(GetParam().acp);
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(*check, folder + "/saver_settings_check.exe");
  }
  Fields Check(const std::vector<std::string>& args) const {
    return ParseFields(session->Run(folder + "/saver_settings_check.exe", args, kRunSeconds).output);
  }

  wine_harness::WineSession* session = nullptr;
  std::string folder;
};

// Set writes the bytes of a Japanese Windows, the run reads them back, and a
// path the file cannot hold is refused, whatever the system's code page.
TEST_P(SettingsCodePageWineTest, SetWritesCp932AndLoadReadsItBack) {
  ASSERT_EQ(Check({"system"})["acp"], GetParam().acp) << "the session is not on that code page";
  const std::string song = folder + "/曲.mp3";
  testsupport::WriteBytes(song, "ID3");
  const std::string winSong = wine_harness::WindowsPath(song);
  const std::string ini = folder + "/Tovarel.ini";
  EXPECT_EQ(Check({"set", " 2", " 3", winSong})["written"], wine_harness::WindowsPath(ini));
  EXPECT_EQ(testsupport::ReadBytes(ini), testsupport::SettingsBytes(2, 3, *common::Utf8ToCp932(winSong)));
  Fields loaded = Check({"load"});
  EXPECT_EQ(loaded["kind"], "2");
  EXPECT_EQ(loaded["repeat"], "3");
  EXPECT_EQ(loaded["file"], winSong);

  // Held: characters of code page 932, in the system's code page or not.
  // Refused: those it lacks (é is in 1252, 这 in 936) and too many bytes.
  for (const auto& [text, hold] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\音楽\\ﾃｽﾄ.mp3", "1"}, {"C:\\café.mp3", "0"}, {"C:\\这.mp3", "0"},
           {std::string(253, 'a') + "曲", "1"}, {std::string(254, 'a') + "曲", "0"}}) {
    EXPECT_EQ(Check({"hold", text})["hold"], hold) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Systems, SettingsCodePageWineTest,
                         testing::Values(CodePage{"ja_JP.UTF-8", "932"}, CodePage{"C.UTF-8", "1252"},
                                         CodePage{"zh_CN.UTF-8", "936"}),
                         [](const testing::TestParamInfo<CodePage>& info) { return std::string("Cp") + info.param.acp; });

TEST_F(SaverWineTest, LoadSettingsFromTheProgramFolder) {
  const std::string song = folder + "/song.wav";
  testsupport::WriteBytes(song, "RIFF");
  struct Case {
    std::string file;
    std::string kind;
    std::string expectedKind, expectedFile, expectedFolder;
  } cases[] = {
      {wine_harness::WindowsPath(song), " 2", "2", wine_harness::WindowsPath(song),
       wine_harness::WindowsPath(folder)},
      {wine_harness::WindowsPath(folder + "/gone.mp3"), " 2", "0", "",
       wine_harness::WindowsPath(folder)},
      {wine_harness::WindowsPath(folder) + "\\", " 1", "1", "", wine_harness::WindowsPath(folder)},
      {"", "2.9", "0", "", wine_harness::WindowsPath(folder)},
  };
  for (const Case& c : cases) {
    fs::remove(Ini());
    Check({"write", WinIni(), "Section", "BGM区分", c.kind});
    Check({"write", WinIni(), "Section", "BGMﾌｧｲﾙ", c.file});
    Fields fields = ParseFields(Check({"load"}).output);
    EXPECT_EQ(fields["kind"], c.expectedKind) << c.file;
    EXPECT_EQ(fields["repeat"], "0") << c.file;
    EXPECT_EQ(fields["file"], c.expectedFile) << c.file;
    EXPECT_EQ(fields["folder"], c.expectedFolder) << c.file;
  }
}

TEST_F(SaverWineTest, MissingRendererShowsTheMessageUntilOk) {
  wine_harness::WineProcess saver = session->Spawn(folder + "/Tovarel.scr", {"/c"}, kRunSeconds);
  ASSERT_TRUE(wine_harness::WaitForFocus(session->DisplayName(), "Tovarel (ScreenSaver)", kExitWaitMs));
  EXPECT_TRUE(saver.Running());
  ASSERT_TRUE(wine_harness::HoldKey(session->DisplayName(), "Return", 100));
  EXPECT_EQ(saver.Wait(kExitWaitMs), 0);
}

TEST_F(SaverWineTest, PreviewAndKnownRendererNeedNoMessage) {
  EXPECT_EQ(session->Run(folder + "/Tovarel.scr", {"/p", "1234"}, kRunSeconds).exitCode, 0);
  testsupport::WriteBytes(folder + "/Tovarel.dll", "MZ");
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{"/a"}, {"/s"}, {}}) {
    wine_harness::RunResult run = session->Run(folder + "/Tovarel.scr", args, kRunSeconds);
    EXPECT_FALSE(run.timedOut) << (args.empty() ? "(empty)" : args[0]);
    EXPECT_EQ(run.exitCode, 0) << run.output;
  }
}

TEST_F(SaverWineTest, RunningCopyMakesEveryModeEndSilently) {
  for (const char* title : {"Lumora_Main", "<Tovarel>"}) {
    wine_harness::WineProcess holder = session->Spawn(titleWindow, {title, "60000"}, kRunSeconds);
    auto until = std::chrono::steady_clock::now() + 30s;
    while (ParseFields(holder.Output())["ready"] != "1" && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(ParseFields(holder.Output())["ready"], "1") << holder.Output();
    // Without Tovarel.dll a copy that got past the check would wait in its message box.
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{"/c"}, {"/s"}, {"/p", "1234"}}) {
      wine_harness::RunResult run = session->Run(folder + "/Tovarel.scr", args, kRunSeconds);
      EXPECT_FALSE(run.timedOut) << title << " " << args[0];
      EXPECT_EQ(run.exitCode, 0) << title << " " << args[0];
    }
    EXPECT_FALSE(MessageBoxShown());
    holder.Kill();
  }
}

// --- where the settings go when the programs' folder cannot be written

// A folder that takes no new files, whoever asks: immutable for root (who
// passes over permissions, and so does Wine running as root), read-only
// otherwise. Undone when it goes.
class LockedFolder {
 public:
  explicit LockedFolder(const std::string& path) : path_(path) {
    if (geteuid() != 0) {
      locked_ = chmod(path.c_str(), 0555) == 0;
      return;
    }
    locked_ = SetImmutable(true);
  }
  ~LockedFolder() {
    if (!locked_) return;
    if (geteuid() != 0) chmod(path_.c_str(), 0755);
    else SetImmutable(false);
  }
  bool Locked() const { return locked_; }

 private:
  bool SetImmutable(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
  }
  std::string path_;
  bool locked_ = false;
};

class SettingsLocationWineTest : public testing::Test {
 protected:
  void SetUp() override {
    std::optional<std::string> check = wine_harness::WindowsBinary("saver_settings_check.exe");
    if (!check) GTEST_SKIP() << "the Windows build's programs are not built";
    std::string error;
    session = wine_harness::SharedSession({}, error);
    ASSERT_NE(session, nullptr) << error;
    folder = session->WorkDir() + "/location-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(*check, folder + "/saver_settings_check.exe");
    Check({"forget"});
  }
  void TearDown() override {
    if (session != nullptr) Check({"forget"});
  }

  std::string Ini() const { return folder + "/Tovarel.ini"; }
  Fields Check(const std::vector<std::string>& args) const {
    return ParseFields(session->Run(folder + "/saver_settings_check.exe", args, kRunSeconds).output);
  }
  std::string UserIni() { return Check({"where"})["user"] + "\\Tovarel.ini"; }
  std::string Read(const std::string& file, const std::string& key, const std::string& section = "Section") {
    return Check({"read", file, section, key})["value"];
  }

  static constexpr const char* kAdminIni =
      "; set up by the administrator\r\n[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\n[Site]\r\nOwner=IT\r\n";
  wine_harness::WineSession* session = nullptr;
  std::string folder;
};

TEST_F(SettingsLocationWineTest, WritableFolderIsUsedAsBefore) {
  EXPECT_EQ(Check({"set", " 2", " 3", "C:\\a.mp3"})["written"], wine_harness::WindowsPath(Ini()));
  EXPECT_EQ(Read(wine_harness::WindowsPath(Ini()), "BGMﾘﾋﾟｰﾄ"), "3");
  Fields where = Check({"where"});
  EXPECT_EQ(where["read"], wine_harness::WindowsPath(Ini()));
  EXPECT_EQ(Read(UserIni(), "BGMﾘﾋﾟｰﾄ"), "");  // no copy was made
}

// Wine shows a file without write permission as read-only (and `attrib +r`
// takes the permission away), but as root it writes the file all the same:
// the attribute is what keeps the administrator's file as it is.
TEST_F(SettingsLocationWineTest, ReadOnlyFileGivesTheUserACopyThatKeepsItsOtherLines) {
  testsupport::WriteBytes(Ini(), kAdminIni);
  ASSERT_EQ(chmod(Ini().c_str(), 0444), 0);
  const std::string user = UserIni();
  EXPECT_EQ(Check({"where"})["write"], user);
  EXPECT_EQ(Check({"set", " 2", " 3", "C:\\a.mp3"})["written"], user);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), kAdminIni);
  EXPECT_EQ(Read(user, "BGM区分"), "2");
  EXPECT_EQ(Read(user, "BGMﾌｧｲﾙ"), "C:\\a.mp3");
  EXPECT_EQ(Read(user, "Owner", "Site"), "IT");
  // The next start reads the user's copy; the next Set writes it again.
  EXPECT_EQ(Check({"where"})["read"], user);
  EXPECT_EQ(Check({"load"})["repeat"], "3");
  EXPECT_EQ(Check({"set", " 0", " 4", ""})["written"], user);
  EXPECT_EQ(Read(user, "BGMﾘﾋﾟｰﾄ"), "4");
  EXPECT_EQ(testsupport::ReadBytes(Ini()), kAdminIni);
  chmod(Ini().c_str(), 0644);
}

TEST_F(SettingsLocationWineTest, FolderThatTakesNoNewFileGivesTheUserACopy) {
  LockedFolder locked(folder);
  if (!locked.Locked()) GTEST_SKIP() << "the folder cannot be locked here";
  EXPECT_EQ(Check({"set", " 1", " 7", ""})["written"], UserIni());
  EXPECT_FALSE(fs::exists(Ini()));
  Fields loaded = Check({"load"});
  EXPECT_EQ(loaded["kind"], "1");
  EXPECT_EQ(loaded["repeat"], "7");
}

}  // namespace
