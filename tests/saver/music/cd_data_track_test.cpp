// Mixed-mode discs: cdiocddasrc leaves data tracks out of its stream, so
// positions must be mapped through the audio tracks alone.
#include <gtest/gtest.h>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/gst/mci_interpreter.h"

namespace music::test {
namespace {

// Three tracks; `data` is the one that holds MODE1 zeros.
void MakeDisc(const TempDir& dir, int data) {
  std::vector<int> tones = {300, 500, 700};
  tones[data - 1] = 0;
  ASSERT_TRUE(MakeDiscImage(dir, tones));
}

class CdWithDataTrack : public ::testing::Test {
 protected:
  std::string Reply(MciInterpreter& mci, const std::string& command) {
    std::string reply;
    const std::uint32_t code = mci.Execute(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
  }
  bool WaitForStop(MciInterpreter& mci) {
    return WaitUntil([&] { return Reply(mci, "status cdaudio mode") == "stopped"; }, 20);
  }
  std::vector<std::int16_t> Track(int track) { return ReadRaw(dir_.File("t" + std::to_string(track) + ".raw")); }

  TempDir dir_;
  std::string capture_ = dir_.File("capture");
};

TEST_F(CdWithDataTrack, FirstTrackDataPlaysTheTrackAsked) {
  MakeDisc(dir_, 1);
  MciInterpreter mci{CaptureSink(capture_), dir_.File("disc.cue")};
  ASSERT_EQ(Reply(mci, "open cdaudio"), "");
  ASSERT_EQ(Reply(mci, "set cdaudio time format tmsf"), "");
  EXPECT_EQ(Reply(mci, "status cdaudio number of tracks"), "3");
  // Nothing of a data track is played, and nothing is started.
  EXPECT_EQ(Reply(mci, "play cdaudio from 01:00:00:00"), "Error:282");
  EXPECT_EQ(Reply(mci, "play cdaudio from 01:00:01:00 to 02:00:01:00"), "Error:282");
  EXPECT_EQ(Reply(mci, "status cdaudio mode"), "stopped");

  ASSERT_EQ(Reply(mci, "play cdaudio from 02:00:00:00 to 03:00:00:00"), "");
  ASSERT_TRUE(WaitForStop(mci));
  EXPECT_EQ(Reply(mci, "status cdaudio position"), "03:00:00:00");
  ASSERT_EQ(Reply(mci, "close cdaudio"), "");
  EXPECT_TRUE(ReadCapture(capture_) == Track(2)) << "not exactly track 2";
}

TEST_F(CdWithDataTrack, WholeDiscIsItsAudioTracks) {
  struct Case {
    int data;
    std::vector<int> played;
    const char* endPosition;
  } cases[] = {{1, {2, 3}, "03:00:02:00"}, {3, {1, 2}, "03:00:00:00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("data track " + std::to_string(c.data));
    MakeDisc(dir_, c.data);
    const std::string capture = capture_ + std::to_string(c.data);
    MciInterpreter mci{CaptureSink(capture), dir_.File("disc.cue")};
    ASSERT_EQ(Reply(mci, "open cdaudio"), "");
    ASSERT_EQ(Reply(mci, "set cdaudio time format tmsf"), "");
    ASSERT_EQ(Reply(mci, "play cdaudio"), "");
    ASSERT_TRUE(WaitForStop(mci));
    // The end of the last audio track, not the lead-out behind a data track.
    EXPECT_EQ(Reply(mci, "status cdaudio position"), c.endPosition);
    ASSERT_EQ(Reply(mci, "close cdaudio"), "");
    std::vector<std::int16_t> expected;
    for (int track : c.played) {
      const auto samples = Track(track);
      expected.insert(expected.end(), samples.begin(), samples.end());
    }
    EXPECT_TRUE(ReadCapture(capture) == expected) << "the capture is not the audio tracks";
  }
}

}  // namespace
}  // namespace music::test
