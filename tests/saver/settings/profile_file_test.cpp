// ReadIni and WriteIni against real files.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "saver/settings/ini_file.h"
#include "saver/settings/profile.h"
#include "saver/settings/settings.h"
#include "tests/saver/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using saver::ReadIni;
using saver::WriteIni;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

const std::string kKindCp = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeatCp = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileCp = "BGM\xCC\xA7\xB2\xD9";

size_t CountEntries(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

class ProfileFileTest : public testing::Test {
 protected:
  // Runs `body` in a child process as an ordinary user: root reads and
  // writes whatever the permissions say, so as root (as in CI) the child
  // hands the test folder to `nobody` and becomes it. The child's failures
  // are printed by it and reported here through its exit status.
  void AsOrdinaryUser(const std::function<void()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
          if (lchown(entry.path().c_str(), uid, gid) != 0) _exit(3);
        if (chown(dir.Path().c_str(), uid, gid) != 0 || setgroups(0, nullptr) != 0 || setgid(gid) != 0 ||
            setuid(uid) != 0 || setuid(0) == 0)
          _exit(3);
      }
      body();
      std::fflush(nullptr);
      _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    const int code = WEXITSTATUS(status);
    ASSERT_NE(code, 3) << "could not become an ordinary user";
    EXPECT_EQ(code, 0) << "failures above, from the child";
  }

  TempDir dir;
  std::string ini = dir.File("Tovarel.ini");
};

TEST_F(ProfileFileTest, DialogWritesGiveTheWindowsBytes) {
  WriteIni("Section", "BGM区分", " 2", ini);
  WriteIni("Section", "BGMﾘﾋﾟｰﾄ", " 0", ini);
  WriteIni("Section", "BGMﾌｧｲﾙ", "/音楽/曲.mp3", ini);
  EXPECT_EQ(ReadBytes(ini), "[Section]\r\n" + kKindCp + "= 2\r\n" + kRepeatCp + "= 0\r\n" +
                                kFileCp + "=/\x89\xB9\x8A\x79/\x8B\xC8.mp3\r\n");
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "2");
  EXPECT_EQ(ReadIni("section", "bgmﾘﾋﾟｰﾄ", ini), "0");
  EXPECT_EQ(ReadIni("Section", "BGMﾌｧｲﾙ", ini), "/音楽/曲.mp3");
  EXPECT_EQ(CountEntries(dir.Path()), 1u) << "no temporary file left behind";
}

TEST_F(ProfileFileTest, RewriteReplacesAndKeepsForeignLines) {
  const std::string before = "; kept\r\n[Other]\r\nx=1\r\n[Section]\r\n" + kKindCp + "=-3\n";
  WriteBytes(ini, before);
  WriteIni("Section", "BGM区分", " 1", ini);
  EXPECT_EQ(ReadBytes(ini), "; kept\r\n[Other]\r\nx=1\r\n[Section]\r\n" + kKindCp + "= 1\n");
  WriteIni("Section", "BGMﾌｧｲﾙ", "", ini);
  EXPECT_EQ(ReadIni("Section", "BGMﾌｧｲﾙ", ini), "");
  EXPECT_EQ(ReadIni("Other", "x", ini), "1");
}

TEST_F(ProfileFileTest, MissingFileReadsEmptyAndIsNotCreated) {
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "");
  EXPECT_FALSE(fs::exists(ini));
}

TEST_F(ProfileFileTest, ReadValueIsCutTo255BytesWithoutSplittingACharacter) {
  struct Case {
    std::string stored;
    std::string expected;
  } cases[] = {
      {std::string(300, 'a'), std::string(255, 'a')},
      {std::string(255, 'a'), std::string(255, 'a')},
      {std::string(253, 'a') + "\x8B\xE6", std::string(253, 'a') + "区"},
      {std::string(254, 'a') + "\x8B\xE6", std::string(254, 'a')},
  };
  for (const Case& c : cases) {
    WriteBytes(ini, "[Section]\r\nk=" + c.stored + "\r\n");
    EXPECT_EQ(ReadIni("Section", "k", ini), c.expected) << c.stored.size();
  }
}

TEST_F(ProfileFileTest, ValueCp932CannotHoldIsNotWritten) {
  WriteIni("Section", "BGMﾌｧｲﾙ", "/music/old.mp3", ini);
  const std::string before = ReadBytes(ini);
  WriteIni("Section", "BGMﾌｧｲﾙ", "/music/😀.mp3", ini);
  EXPECT_EQ(ReadBytes(ini), before);
  EXPECT_EQ(ReadIni("Section", "BGMﾌｧｲﾙ", ini), "/music/old.mp3");
  EXPECT_EQ(saver::PutProfileText("Section", "k", "한", ini), false);
}

TEST_F(ProfileFileTest, ValueWithLineBreakIsNotWritten) {
  // A file name may hold a line break; writing it would forge a new line.
  WriteIni("Section", "BGMﾌｧｲﾙ", "/a\r\n[Section]\r\nBGM区分= 2", ini);
  EXPECT_FALSE(fs::exists(ini));
}

TEST_F(ProfileFileTest, LongNamesAreCutTo127Characters) {
  std::string longKey(130, 'k');
  WriteIni("Section", longKey, "v", ini);
  EXPECT_EQ(ReadIni("Section", std::string(127, 'k'), ini), "v");
  EXPECT_EQ(ReadIni("Section", longKey, ini), "");
}

TEST_F(ProfileFileTest, NulByteEndsTheValue) {
  WriteBytes(ini, std::string("[Section]\r\nk=ab\0cd\r\nj=\0\r\nl=1\r\n", 29));
  EXPECT_EQ(ReadIni("Section", "k", ini), "ab");
  EXPECT_EQ(ReadIni("Section", "j", ini), "");
  EXPECT_EQ(ReadIni("Section", "l", ini), "1");
}

TEST_F(ProfileFileTest, InvalidShiftJisIsReadSafelyAndKept) {
  const std::string before = "\x81\r\n[Section]\r\nbad=\xFF\x81\r\nBGM\x81=x\r\n" + kKindCp +
                             "= 2\r\nlead=a\x81";
  WriteBytes(ini, before);
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "2");
  EXPECT_EQ(ReadIni("Section", "bad", ini), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(ReadIni("Section", "lead", ini), "a\xEF\xBF\xBD");
  WriteIni("Section", "BGMﾘﾋﾟｰﾄ", " 5", ini);
  EXPECT_EQ(ReadBytes(ini), "\x81\r\n[Section]\r\nbad=\xFF\x81\r\nBGM\x81=x\r\n" + kKindCp +
                                "= 2\r\nlead=a\x81\r\n" + kRepeatCp + "= 5\r\n");
}

TEST_F(ProfileFileTest, TenMegabyteLineIsHandledAndKept) {
  const std::string huge(10 * 1024 * 1024, 'x');
  const std::string before = "[Section]\r\njunk=" + huge + "\r\n" + kKindCp + "= 1\r\n";
  WriteBytes(ini, before);
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "1");
  EXPECT_EQ(ReadIni("Section", "junk", ini), std::string(255, 'x'));
  WriteIni("Section", "BGM区分", " 2", ini);
  EXPECT_EQ(ReadBytes(ini), "[Section]\r\njunk=" + huge + "\r\n" + kKindCp + "= 2\r\n");
}

TEST_F(ProfileFileTest, HundredThousandSections) {
  std::string before;
  for (int i = 0; i < 100000; ++i) before += "[s" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  WriteBytes(ini, before);
  EXPECT_EQ(ReadIni("s99999", "k", ini), "99999");
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "");
  WriteIni("Section", "BGM区分", " 2", ini);
  EXPECT_EQ(ReadBytes(ini), before + "[Section]\r\n" + kKindCp + "= 2\r\n");
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFile) {
  fs::create_directory(ini);
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "");
  WriteIni("Section", "BGM区分", " 2", ini);
  EXPECT_TRUE(fs::is_directory(ini));
  EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST_F(ProfileFileTest, PipeInPlaceOfTheFileDoesNotBlock) {
  ASSERT_EQ(mkfifo(ini.c_str(), 0644), 0);
  EXPECT_EQ(ReadIni("Section", "BGM区分", ini), "");
  WriteIni("Section", "BGM区分", " 2", ini);
  EXPECT_TRUE(fs::is_fifo(ini));
}

TEST_F(ProfileFileTest, OversizedFileIsNeitherReadNorReplaced) {
  // Sparse, so the test costs no disk; a write must not cut it down.
  WriteBytes(ini, "[Section]\r\nk=1\r\n");
  fs::resize_file(ini, saver::ini::kMaxFileBytes + 1);
  EXPECT_EQ(ReadIni("Section", "k", ini), "");
  WriteIni("Section", "k", "2", ini);
  EXPECT_EQ(fs::file_size(ini), saver::ini::kMaxFileBytes + 1);
  EXPECT_EQ(ReadBytes(ini).substr(0, 16), "[Section]\r\nk=1\r\n");
}

TEST_F(ProfileFileTest, UnreadableFileIsNotReplaced) {
  WriteBytes(ini, "[Section]\r\nk=1\r\n");
  AsOrdinaryUser([&] {
    fs::permissions(ini, fs::perms::none);
    ASSERT_NE(access(ini.c_str(), R_OK), 0) << "the file must be unreadable to this user";
    EXPECT_EQ(ReadIni("Section", "k", ini), "");
    WriteIni("Section", "k", "2", ini);
    fs::permissions(ini, fs::perms::owner_read);
    EXPECT_EQ(ReadBytes(ini), "[Section]\r\nk=1\r\n");
    EXPECT_EQ(CountEntries(dir.Path()), 1u) << "no temporary file left behind";
  });
}

TEST_F(ProfileFileTest, ReadOnlyFolderKeepsTheFile) {
  WriteBytes(ini, "[Section]\r\nk=1\r\n");
  AsOrdinaryUser([&] {
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const int probe = open(dir.File("probe").c_str(), O_WRONLY | O_CREAT, 0600);
    if (probe >= 0) close(probe);
    ASSERT_LT(probe, 0) << "the folder must be read-only to this user";
    WriteIni("Section", "k", "2", ini);
    EXPECT_EQ(ReadIni("Section", "k", ini), "1");
    EXPECT_EQ(ReadBytes(ini), "[Section]\r\nk=1\r\n");
  });
}

TEST_F(ProfileFileTest, MissingFolderWritesNothing) {
  const std::string nowhere = dir.File("gone/Tovarel.ini");
  WriteIni("Section", "k", "2", nowhere);
  EXPECT_FALSE(fs::exists(dir.File("gone")));
  EXPECT_EQ(ReadIni("Section", "k", nowhere), "");
}

TEST_F(ProfileFileTest, SymbolicLinkIsWrittenThrough) {
  const std::string real = dir.File("real.ini");
  WriteBytes(real, "[Section]\r\n");
  fs::create_symlink(real, ini);
  WriteIni("Section", "k", "v", ini);
  EXPECT_TRUE(fs::is_symlink(ini));
  EXPECT_EQ(ReadBytes(real), "[Section]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, PermissionsOfTheFileAreKept) {
  WriteBytes(ini, "[Section]\r\n");
  fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteIni("Section", "k", "v", ini);
  EXPECT_EQ(fs::status(ini).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
