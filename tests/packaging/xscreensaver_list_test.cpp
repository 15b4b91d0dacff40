// tovarel-xscreensaver add/remove on the kinds of ~/.xscreensaver users
// have: none, the layout xscreensaver itself writes, hand-written ones.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/packaging/command.h"
#include "tests/saver/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using packaging_test::RunCommand;

constexpr const char* kEntry = "  GL: \t\t\t\ttovarel --root\t\t\t\t    \\n\\\n";

// The programs list as xscreensaver writes it: one entry a line, each
// continued, the last continued into an empty line; other settings around.
const std::string kDaemonList =
    "mode:\t\tone\nselected:\t1\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "\n\npointerPollTime:    0:00:05\n";

struct Case {
  const char* name;
  std::optional<std::string> before;  // nullopt: no file
  const char* action;
  std::optional<std::string> after;  // nullopt: the file stays byte for byte
  bool removeRestores = false;        // remove after add gives the file back
};

const Case kCases[] = {
    {"add creates a file that names only Tovarel", std::nullopt, "add",
     std::string("programs:\t\t\t\t\t\t\t\t      \\\n") + kEntry + "\n"},
    {"add to another settings file appends the list", std::string("mode: random\n"), "add",
     std::string("mode: random\n\nprograms:\t\t\t\t\t\t\t\t      \\\n") + kEntry + "\n"},
    {"add goes last in the daemon's list, other lines as they were", kDaemonList, "add",
     "mode:\t\tone\nselected:\t1\n"
     "programs:\t\t\t\t\t\t\t\t      \\\n"
     "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
     "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n" +
         std::string(kEntry) + "\n\npointerPollTime:    0:00:05\n",
     true},
    {"add to a list ending on an entry continues it",
     std::string("programs: maze -root \\n\\\n  xmatrix -root\nlock: False\n"), "add",
     std::string("programs: maze -root \\n\\\n  xmatrix -root \\n\\\n  GL: \t\t\t\ttovarel --root\t\t\t\t    \\n\n"
                 "lock: False\n")},
    {"add switches a disabled entry back on",
     std::string("programs:\t\\\n- GL:\t\ttovarel --root\t\\n\\\n\tmaze --root\t\\n\\\n\n"), "add",
     std::string("programs:\t\\\n  GL:\t\ttovarel --root\t\\n\\\n\tmaze --root\t\\n\\\n\n")},
    {"add leaves an entry by path alone",
     std::string("programs:\t\\\n  GL: /usr/libexec/xscreensaver/tovarel -root \\n\\\n\n"), "add", std::nullopt},
    {"add leaves an entry on the resource's own line alone",
     std::string("programs: GL: tovarel --root \\n\\\n\nlock: False\n"), "add", std::nullopt},
    {"remove takes the entry out of the daemon's list",
     std::string("programs:\t\\\n\tmaze --root\t\\n\\\n  GL: tovarel --root \\n\\\n\txmatrix --root\t\\n\\\n\n"),
     "remove", std::string("programs:\t\\\n\tmaze --root\t\\n\\\n\txmatrix --root\t\\n\\\n\n")},
    {"remove of the last entry ends the list before it",
     std::string("programs: maze -root \\n\\\n  GL: tovarel --root \\n\nlock: False\n"), "remove",
     std::string("programs: maze -root \\n\nlock: False\n")},
    {"remove of an entry on the resource's own line keeps the name",
     std::string("programs: GL: tovarel -root \\n\\\n\nlock: False\n"), "remove",
     std::string("programs:\t\t\t\t\t\t\t\t      \\\n\nlock: False\n")},
    {"remove leaves a tovarel word outside the list alone",
     std::string("# tovarel --root is listed below\nprograms:\t\\\n\tmaze --root\t\\n\\\n\n"), "remove", std::nullopt},
    {"remove without a file makes none", std::nullopt, "remove", std::nullopt},
};

class XscreensaverList : public testing::TestWithParam<Case> {
 protected:
  std::string File() const { return home_.File(".xscreensaver"); }
  packaging_test::CommandResult Run(const std::string& action) {
    return RunCommand({"env", "HOME=" + home_.Path(), "sh", TOVAREL_XSCREENSAVER_SCRIPT, action});
  }
  std::optional<std::string> Contents() const {
    if (!fs::exists(File())) return std::nullopt;
    return testsupport::ReadBytes(File());
  }
  testsupport::TempDir home_;
};

TEST_P(XscreensaverList, RewritesOnlyTheProgramsListAndIsSafeToRepeat) {
  const Case& c = GetParam();
  if (c.before) testsupport::WriteBytes(File(), *c.before);
  const auto first = Run(c.action);
  EXPECT_EQ(first.exitCode, 0) << first.output;
  EXPECT_EQ(Contents(), c.after ? c.after : c.before);
  const std::optional<std::string> once = Contents();
  const auto second = Run(c.action);
  EXPECT_EQ(second.exitCode, 0) << second.output;
  EXPECT_EQ(Contents(), once) << "a second run changed the file";

  // A file Tovarel was added to comes back as it was.
  if (c.removeRestores) {
    EXPECT_EQ(Run("remove").exitCode, 0);
    EXPECT_EQ(Contents(), c.before);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, XscreensaverList, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(XscreensaverListCommand, KeepsAFileThatIsALinkAndRefusesOtherWords) {
  testsupport::TempDir home;
  testsupport::WriteBytes(home.File("dotfile"), "lock: False\n");
  fs::create_symlink("dotfile", home.File(".xscreensaver"));
  const auto added = RunCommand({"env", "HOME=" + home.Path(), "sh", TOVAREL_XSCREENSAVER_SCRIPT, "add"});
  EXPECT_EQ(added.exitCode, 0) << added.output;
  EXPECT_TRUE(fs::is_symlink(home.File(".xscreensaver")));
  EXPECT_NE(testsupport::ReadBytes(home.File("dotfile")).find("tovarel --root"), std::string::npos);
  for (const char* word : {"", "install", "--root"}) {
    std::vector<std::string> command{"env", "HOME=" + home.Path(), "sh", TOVAREL_XSCREENSAVER_SCRIPT};
    if (*word != '\0') command.push_back(word);
    EXPECT_EQ(RunCommand(command).exitCode, 2) << word;
  }
}

}  // namespace
