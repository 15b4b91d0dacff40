#include "saver/desktop/draw_target.h"
#include "x11/window_id.h"

#include <gtest/gtest.h>

namespace {

using desktop::DrawTarget;

struct TargetCase {
  const char* commandLine;
  const char* daemonWindow;  // $XSCREENSAVER_WINDOW, null when unset
  std::optional<DrawTarget> target;
};

class DrawTargetTable : public testing::TestWithParam<TargetCase> {};

TEST_P(DrawTargetTable, ReadsTheDaemonsRequest) {
  const TargetCase& c = GetParam();
  EXPECT_EQ(desktop::DrawTargetOf(c.commandLine, c.daemonWindow), c.target)
      << "'" << c.commandLine << "' with " << (c.daemonWindow ? c.daemonWindow : "(unset)");
}

constexpr DrawTarget Window(unsigned long id) { return DrawTarget{id, false}; }
constexpr DrawTarget kRoot{0, true};
constexpr DrawTarget kUnreadable{0, false};

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawTargetTable,
    testing::Values(
        // xscreensaver: -root, and its window in the environment.
        TargetCase{"-root", "0x400001", Window(0x400001)}, TargetCase{"-root", nullptr, kRoot},
        TargetCase{"-root", "garbage", kRoot}, TargetCase{"-root -fps", nullptr, kRoot},
        TargetCase{"--root", "4194305", Window(4194305)},
        // A preview's window given on the command line wins.
        TargetCase{"-window-id 0x1c00007", nullptr, Window(0x1c00007)},
        TargetCase{"-window-id 12345", "0x400001", Window(12345)},
        TargetCase{"-window-id", nullptr, kUnreadable}, TargetCase{"-window-id abc", nullptr, kUnreadable},
        TargetCase{"-window-id 0", nullptr, kUnreadable},
        // The saver's own command lines: a run draws in the daemon's window
        // when there is one; settings, preview and the rest never do.
        TargetCase{"/s", "0x400001", Window(0x400001)}, TargetCase{"", "0x400001", Window(0x400001)},
        TargetCase{"/s", nullptr, std::nullopt}, TargetCase{"/s", "", std::nullopt},
        TargetCase{"/s", "0", std::nullopt}, TargetCase{"/s", "0x", std::nullopt},
        TargetCase{"/c", "0x400001", std::nullopt}, TargetCase{"/p 1234", "0x400001", std::nullopt},
        TargetCase{"/a", "0x400001", std::nullopt}, TargetCase{"", nullptr, std::nullopt}));

// The one rule both programs read a window id by (the renderer takes the
// daemon's variable with it too): decimal or 0x hex within 29 bits.
TEST(WindowIds, DecimalOrHexWithin29Bits) {
  EXPECT_EQ(x11::ParseWindowId("0x1FFFFFFF"), 0x1FFFFFFFul);
  EXPECT_EQ(x11::ParseWindowId("0X2a"), 42ul);
  EXPECT_EQ(x11::ParseWindowId("4194305"), 0x400001ul);
  for (const char* bad : {"0x20000000", "-5", "+5", "5 ", " 0x400001", "0x400001\t", "0x-1", "0", "",
                          "99999999999999999999", "1e3"})
    EXPECT_EQ(x11::ParseWindowId(bad), std::nullopt) << bad;
}

}  // namespace
