#include "saver/settings/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "saver/settings/profile.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "C:\\Windows\\System32\\Tovarel.ini";
constexpr const char* kUserFolder = "C:\\Users\\u\\AppData\\Roaming\\Tovarel";
constexpr const char* kUser = "C:\\Users\\u\\AppData\\Roaming\\Tovarel\\Tovarel.ini";

// A system answered from memory; what the rule asked of it is logged.
struct FakeSystem {
  std::string userFolder = kUserFolder;
  std::set<std::string> files;
  std::set<std::string> writable;
  bool foldersCanBeMade = true;
  std::vector<std::string> log;

  saver::SettingsLocation Location() {
    saver::SettingsLocation location;
    location.programFolder = "C:\\Windows\\System32";
    location.syntax = saver::PathSyntax::Windows;
    location.store.userFolder = [this] { return userFolder; };
    location.store.fileExists = [this](const std::string& path) { return files.count(path) > 0; };
    location.store.canWrite = [this](const std::string& path) { return writable.count(path) > 0; };
    location.store.makeFolders = [this](const std::string& path) {
      log.push_back("mkdir " + path);
      return foldersCanBeMade;
    };
    location.store.copyFile = [this](const std::string& from, const std::string& to) {
      log.push_back("copy " + from + " -> " + to);
      files.insert(to);
      return true;
    };
    return location;
  }
};

struct RuleCase {
  const char* name;
  std::string userFolder;
  std::set<std::string> files;
  std::set<std::string> writable;
  bool foldersCanBeMade;
  std::string read, written;
  std::vector<std::string> log;  // what the write's preparation did
};

class LocationRule : public testing::TestWithParam<RuleCase> {};

TEST_P(LocationRule, ChoosesTheFile) {
  const RuleCase& c = GetParam();
  FakeSystem system{c.userFolder, c.files, c.writable, c.foldersCanBeMade, {}};
  EXPECT_EQ(saver::IniFileToRead(system.Location()), c.read);
  EXPECT_TRUE(system.log.empty()) << "reading changes nothing";
  EXPECT_EQ(saver::IniFileToWrite(system.Location()), c.written);
  EXPECT_EQ(system.log, c.log);
}

const std::string kMkdir = std::string("mkdir ") + kUserFolder;
const std::string kCopy = std::string("copy ") + kProgram + " -> " + kUser;

INSTANTIATE_TEST_SUITE_P(
    Table, LocationRule,
    testing::Values(
        RuleCase{"WritableProgramFolder", kUserFolder, {kProgram}, {kProgram}, true, kProgram, kProgram, {}},
        RuleCase{"WritableEmptyProgramFolder", kUserFolder, {}, {kProgram}, true, kProgram, kProgram, {}},
        RuleCase{"UserCopyWinsEvenWhereTheFolderIsWritable", kUserFolder, {kProgram, kUser},
                 {kProgram}, true, kUser, kUser, {}},
        RuleCase{"ProtectedFolderWithAFileIsCopiedOnce", kUserFolder, {kProgram}, {}, true, kProgram,
                 kUser, {kMkdir, kCopy}},
        RuleCase{"ProtectedFolderWithoutAFile", kUserFolder, {}, {}, true, kProgram, kUser, {kMkdir}},
        RuleCase{"UserFolderCannotBeMade", kUserFolder, {kProgram}, {}, false, kProgram, kUser, {kMkdir}},
        RuleCase{"NoUserFolderKnown", "", {kProgram}, {}, true, kProgram, kProgram, {}}),
    [](const testing::TestParamInfo<RuleCase>& info) { return info.param.name; });

TEST(LocationRule, AfterTheFirstWriteTheUserCopyIsReadAndWritten) {
  FakeSystem system{kUserFolder, {kProgram}, {}, true, {}};
  ASSERT_EQ(saver::IniFileToWrite(system.Location()), kUser);
  system.log.clear();
  EXPECT_EQ(saver::IniFileToRead(system.Location()), kUser);
  EXPECT_EQ(saver::IniFileToWrite(system.Location()), kUser);
  EXPECT_TRUE(system.log.empty());  // copied only the first time
}

// --- this system's answers

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserSettingsFolder, FollowsXdgConfigHomeElseHome) {
  struct Case {
    const char* config;
    const char* home;
    std::string folder;
  } cases[] = {
      {"/cfg", "/home/u", "/cfg/tovarel"},
      {nullptr, "/home/u", "/home/u/.config/tovarel"},
      {"", "/home/u", "/home/u/.config/tovarel"},
      {"relative/cfg", "/home/u", "/home/u/.config/tovarel"},  // to be ignored
      {nullptr, "/", "/.config/tovarel"},
  };
  for (const Case& c : cases) {
    ScopedEnv config("XDG_CONFIG_HOME", c.config);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(saver::UserSettingsFolder(), c.folder) << (c.config ? c.config : "(unset)");
  }
}

// Reads through the system's rule, and writes one value the way Set does.
std::string LoadAndSet(const std::string& programFolder, const std::string& value) {
  saver::SettingsLocation location;
  location.programFolder = programFolder;
  const std::string read = saver::IniFileToRead(location);
  const std::string written = saver::IniFileToWrite(location);
  const bool ok = saver::PutProfileText("Section", "BGM区分", value, written);
  return read + "\n" + written + "\n" + (ok ? "ok" : "failed");
}

class ProtectedFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::UnprivilegedUser()) GTEST_SKIP() << "no unprivileged user to run as";
    // The program's folder is readable by all and writable by its owner only.
    fs::permissions(program.Path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
    testsupport::WriteBytes(program.File("Tovarel.ini"), kProgramIni);
    fs::permissions(program.File("Tovarel.ini"), fs::perms::owner_read | fs::perms::owner_write |
                                                     fs::perms::group_read | fs::perms::others_read);
  }
  std::string UserIni() const { return home.Path() + "/.config/tovarel/Tovarel.ini"; }
  std::optional<std::string> AsUser(const std::string& value) {
    testsupport::GiveToUnprivileged(home.Path());
    const std::string folder = program.Path();
    const std::string homePath = home.Path();
    return testsupport::RunUnprivileged([folder, homePath, value] {
      unsetenv("XDG_CONFIG_HOME");
      setenv("HOME", homePath.c_str(), 1);
      return LoadAndSet(folder, value);
    });
  }

  static constexpr const char* kProgramIni = "; set up by the administrator\r\n[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\n";
  testsupport::TempDir program;
  testsupport::TempDir home;
};

TEST_F(ProtectedFolderTest, FolderTheUserCannotWriteGivesAUserCopy) {
  if (geteuid() != 0) fs::permissions(program.Path(), fs::perms::owner_write, fs::perm_options::remove);
  std::optional<std::string> first = AsUser(" 2");
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, program.File("Tovarel.ini") + "\n" + UserIni() + "\nok");
  // The program folder's file is as it was; the user's copy keeps its other lines.
  EXPECT_EQ(testsupport::ReadBytes(program.File("Tovarel.ini")), kProgramIni);
  EXPECT_EQ(testsupport::ReadBytes(UserIni()),
            "; set up by the administrator\r\n[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\n");
  struct stat info {};
  ASSERT_EQ(stat((home.Path() + "/.config").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  std::optional<std::string> second = AsUser(" 0");
  ASSERT_TRUE(second);
  EXPECT_EQ(*second, UserIni() + "\n" + UserIni() + "\nok");
  EXPECT_NE(testsupport::ReadBytes(UserIni()).find("= 0\r\n"), std::string::npos);
}

TEST_F(ProtectedFolderTest, ReadOnlyFileInAWritableFolderIsLeftAlone) {
  testsupport::GiveToUnprivileged(program.Path());
  fs::permissions(program.File("Tovarel.ini"), fs::perms::owner_write | fs::perms::group_write |
                                                   fs::perms::others_write, fs::perm_options::remove);
  std::optional<std::string> result = AsUser(" 2");
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, program.File("Tovarel.ini") + "\n" + UserIni() + "\nok");
  EXPECT_EQ(testsupport::ReadBytes(program.File("Tovarel.ini")), kProgramIni);
}

TEST_F(ProtectedFolderTest, NoPlaceForTheUserCopyFailsWithoutHarm) {
  if (geteuid() != 0) fs::permissions(program.Path(), fs::perms::owner_write, fs::perm_options::remove);
  fs::permissions(home.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
  const std::string homePath = home.Path();
  const std::string folder = program.Path();
  std::optional<std::string> result = testsupport::RunUnprivileged([folder, homePath] {
    setenv("XDG_CONFIG_HOME", (homePath + "/cfg").c_str(), 1);
    return LoadAndSet(folder, " 2");
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, program.File("Tovarel.ini") + "\n" + homePath + "/cfg/tovarel/Tovarel.ini\nfailed");
  EXPECT_EQ(testsupport::ReadBytes(program.File("Tovarel.ini")), kProgramIni);
}

}  // namespace
