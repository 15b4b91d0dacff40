// PlaySoundA's looping WAV on a real playbin.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <thread>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/gst/gst_mci.h"

namespace music::test {
namespace {

TEST(WaveLoop, LoopsWithoutAGapUntilStopped) {
  TempDir dir;
  const std::string wav = dir.File("ループ 音.wav");
  ASSERT_TRUE(MakeToneWav(wav, 0.5, 880));
  const std::string capture = dir.File("capture");
  const std::vector<std::int16_t> source = ReadWavData(wav);
  ASSERT_FALSE(source.empty());
  {
    GstMci mci(CaptureSink(capture), std::string());
    ASSERT_TRUE(mci.PlaySoundFile(wav, SndAsync | SndLoop));
    const std::size_t enough = source.size() * 3 + kRate;
    ASSERT_TRUE(WaitUntil([&] { return ReadCapture(capture).size() > enough; }, 20));
    EXPECT_TRUE(mci.PlaySoundFile(std::nullopt, 0));
    // Stopping with nothing playing is harmless.
    EXPECT_TRUE(mci.PlaySoundFile(std::nullopt, 0));
  }
  const std::vector<std::int16_t> played = ReadCapture(capture);
  ASSERT_GE(played.size(), source.size() * 3);
  for (int pass = 0; pass < 3; ++pass) {
    EXPECT_TRUE(std::equal(source.begin(), source.end(), played.begin() + pass * source.size()))
        << "pass " << pass << " differs from the file";
  }
}

TEST(WaveLoop, RefusesWhatPlaySoundCannotPlay) {
  TempDir dir;
  const std::string wav = dir.File("tone.wav");
  ASSERT_TRUE(MakeToneWav(wav, 0.2, 440));
  const std::string mp3 = dir.File("disguised.wav");
  ASSERT_TRUE(WavToMp3(wav, mp3));
  std::ofstream(dir.File("empty.wav"));
  GstMci mci("fakesink sync=true", std::string());
  EXPECT_FALSE(mci.PlaySoundFile(dir.File("missing.wav"), SndAsync | SndLoop));
  EXPECT_FALSE(mci.PlaySoundFile(dir.File("empty.wav"), SndAsync | SndLoop));
  EXPECT_FALSE(mci.PlaySoundFile(mp3, SndAsync | SndLoop));
  EXPECT_FALSE(mci.PlaySoundFile(dir.path().string(), SndAsync | SndLoop));
  EXPECT_FALSE(mci.PlaySoundFile(wav, SndLoop));  // a loop must be asynchronous
  EXPECT_FALSE(mci.PlaySoundFile(wav, SndAsync | 0x0004));  // memory images are not file names
  EXPECT_TRUE(mci.PlaySoundFile(wav, SndAsync | SndLoop));
  EXPECT_TRUE(mci.PlaySoundFile(std::nullopt, 0));
}

// A synchronous play returns when the sound has played once, and returns
// even from a sink that never reports an end (it drops the stream, end
// included). The thread is left behind if it never comes back.
TEST(WaveOnce, SynchronousPlayReturns) {
  struct Case {
    const char* sink;
    bool played;
  } cases[] = {{"fakesink sync=true", true}, {"valve drop=true ! fakesink async=false", false}};
  TempDir dir;
  const std::string wav = dir.File("tone.wav");
  ASSERT_TRUE(MakeToneWav(wav, 0.3, 440));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sink);
    struct Shared {
      std::atomic<bool> done{false};
      bool result = false;
    };
    auto shared = std::make_shared<Shared>();
    auto mci = std::make_shared<GstMci>(c.sink, std::string());
    std::thread([shared, mci, wav] {
      shared->result = mci->PlaySoundFile(wav, SndSync | SndNoDefault);
      shared->done = true;
    }).detach();
    ASSERT_TRUE(WaitUntil([&] { return shared->done.load(); }, 30)) << "the play never returned";
    EXPECT_EQ(shared->result, c.played);
  }
}

}  // namespace
}  // namespace music::test
