// A disc taken out or changed while cdaudio is open: the drive answers for
// the disc it holds now, or as a drive without a disc.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/gst/gst_mci.h"
#include "saver/music/lumora_bgm.h"
#include "saver/music/gst/mci_interpreter.h"
#include "saver/settings_vars.h"

namespace music::test {
namespace {

class CdDiscChange : public ::testing::Test {
 protected:
  std::string Reply(const std::string& command) {
    std::string reply;
    const std::uint32_t code = mci_.Execute(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
  }
  void TakeOut() {
    std::filesystem::remove(dir_.File("disc.cue"));
    std::filesystem::remove(dir_.File("disc.bin"));
  }

  TempDir dir_;
  MciInterpreter mci_{"fakesink sync=true", dir_.File("disc.cue")};
};

TEST_F(CdDiscChange, StatusFollowsTheDiscInTheDrive) {
  ASSERT_TRUE(MakeDiscImage(dir_, {300, 500, 700}));
  ASSERT_EQ(Reply("open cdaudio"), "");
  ASSERT_EQ(Reply("set cdaudio time format tmsf"), "");
  EXPECT_EQ(Reply("status cdaudio number of tracks"), "3");

  TakeOut();
  for (const char* command : {"status cdaudio number of tracks", "status cdaudio current track",
                              "status cdaudio position track 1", "play cdaudio"}) {
    EXPECT_EQ(Reply(command), "Error:276") << command;
  }
  EXPECT_EQ(Reply("status cdaudio mode"), "not ready");
  EXPECT_EQ(Reply("status cdaudio media present"), "false");

  // Another disc: two tracks, the first of them data.
  ASSERT_TRUE(MakeDiscImage(dir_, {0, 400}));
  EXPECT_EQ(Reply("status cdaudio number of tracks"), "2");
  EXPECT_EQ(Reply("status cdaudio position track 2"), "02:00:00:00");
  EXPECT_EQ(Reply("status cdaudio mode"), "stopped");

  // The same CUE sheet over a longer BIN file: a last track of 4 s.
  EXPECT_EQ(Reply("status cdaudio length track 2"), "00:02:00");
  std::ofstream(dir_.File("disc.bin"), std::ios::binary | std::ios::app) << std::string(150 * 2352, '\0');
  EXPECT_EQ(Reply("status cdaudio length track 2"), "00:04:00");
}

TEST_F(CdDiscChange, DiscTakenOutWhilePlayingStopsItsPlay) {
  ASSERT_TRUE(MakeDiscImage(dir_, {300, 500, 700}));
  ASSERT_EQ(Reply("open cdaudio"), "");
  ASSERT_EQ(Reply("play cdaudio"), "");
  EXPECT_EQ(Reply("status cdaudio mode"), "playing");
  TakeOut();
  EXPECT_EQ(Reply("status cdaudio current track"), "Error:276");
  EXPECT_EQ(Reply("status cdaudio mode"), "not ready");
  // A disc put back is a new one: it stands at its start, stopped.
  ASSERT_TRUE(MakeDiscImage(dir_, {300, 500}));
  EXPECT_EQ(Reply("status cdaudio mode"), "stopped");
  EXPECT_EQ(Reply("status cdaudio current track"), "1");
}

// The sink's folder vanishes, so the play fails; the disc is read again and
// the next play sounds.
TEST(CdDriveFailure, PlayAfterAFailedPlaySounds) {
  TempDir dir;
  ASSERT_TRUE(MakeDiscImage(dir, {300, 500}));
  const std::filesystem::path folder = dir.path() / "capture";
  std::filesystem::create_directories(folder);
  MciInterpreter mci{CaptureSink((folder / "part").string()), dir.File("disc.cue")};
  std::string reply;
  ASSERT_EQ(mci.Execute("open cdaudio", reply), 0u);
  ASSERT_EQ(mci.Execute("set cdaudio time format tmsf", reply), 0u);
  std::filesystem::remove_all(folder);
  ASSERT_EQ(mci.Execute("play cdaudio from 2 to 02:00:01:00", reply), 0u);
  ASSERT_TRUE(WaitUntil([&] { return mci.Execute("status cdaudio mode", reply) == 0 && reply == "stopped"; }, 20));
  EXPECT_EQ(mci.Execute("status cdaudio number of tracks", reply), 0u);
  EXPECT_EQ(reply, "2");

  std::filesystem::create_directories(folder);
  ASSERT_EQ(mci.Execute("play cdaudio from 2 to 02:00:01:00", reply), 0u);
  ASSERT_TRUE(WaitUntil([&] { return mci.Execute("status cdaudio mode", reply) == 0 && reply == "stopped"; }, 20));
  ASSERT_EQ(mci.Execute("close cdaudio", reply), 0u);
  std::vector<std::filesystem::path> parts(std::filesystem::directory_iterator(folder), {});
  ASSERT_EQ(parts.size(), 1u);
  const auto played = ReadRaw(parts.front().string());
  const auto track2 = ReadRaw(dir.File("t2.raw"));
  ASSERT_EQ(played.size(), static_cast<std::size_t>(2 * kRate));
  EXPECT_TRUE(std::equal(played.begin(), played.end(), track2.begin()));
}

TEST(CdDiscChangeWatch, DiscTakenOutEndsTheWatch) {
  TempDir dir;
  ASSERT_TRUE(MakeDiscImage(dir, {300, 500, 700}));
  GstMci mci("fakesink sync=true", dir.File("disc.cue"));
  Lumora_BGM bgm(mci);
  saver::BgmRepeat = 2;
  bgm.OpenCd();
  bgm.PollCd();
  EXPECT_EQ(bgm.CdPolling, Lumora_BGM::True);
  std::array<char, 64> mode{};
  ASSERT_EQ(mci.SendString("status cdaudio mode", mode), 0u);
  EXPECT_EQ(std::string(mode.data()), "playing");

  std::filesystem::remove(dir.File("disc.cue"));
  std::filesystem::remove(dir.File("disc.bin"));
  bgm.PollCd();
  EXPECT_EQ(bgm.CdPolling, Lumora_BGM::False);
  bgm.StopCd();
  saver::BgmRepeat = 0;
}

}  // namespace
}  // namespace music::test
