// The music module on winmm under Wine: a Japanese system (code page 932)
// with ALSA's null device as its wave output, playing real MP3 files
// through the MPEGVideo driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/saver/music/audio_fixtures.h"
#include "tests/wine/windows_binaries.h"
#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"

namespace music::wine_test {
namespace {

using Fields = wine_harness::ProbeFields;
constexpr auto& ParseFields = wine_harness::ParseProbeFields;
constexpr auto& Field = wine_harness::ProbeField;

constexpr double kToneSeconds = 1.5;
constexpr int kProbeTimeoutSeconds = 90;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class MusicWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    fixtures_ = std::make_unique<test::TempDir>();
    const std::string wav = fixtures_->File("tone.wav");
    fixturesMade_ = test::MakeToneWav(wav, kToneSeconds, 440) &&
                    test::WavToMp3(wav, fixtures_->File("tone.mp3")) &&
                    // A name with spaces and characters of code page 932.
                    test::WavToMp3(wav, fixtures_->File("音楽 テスト.mp3"));
  }
  static void TearDownTestSuite() { fixtures_.reset(); }

  void SetUp() override {
    const auto probe = wine_harness::WindowsBinary("music_probe.exe");
    if (!probe) {
      GTEST_SKIP() << "music_probe.exe is missing from " << wine_harness::WindowsBinDir()
                   << "; run tools/build-windows.sh";
    }
    probe_ = *probe;
    ASSERT_TRUE(fixturesMade_) << "sox or lame could not make the MP3 fixtures";
    std::string error;
    session_ = wine_harness::SharedSession({1024, 768}, error, Locale());
    ASSERT_NE(session_, nullptr) << "no Wine session: " << error;
  }

  virtual std::string Locale() const { return wine_harness::kJapaneseLocale; }
  wine_harness::RunResult Probe(const std::vector<std::string>& args) const {
    return session_->Run(probe_, args, kProbeTimeoutSeconds);
  }
  static std::string WindowsFile(const std::string& name) {
    return wine_harness::WindowsPath(fixtures_->File(name));
  }

  static inline std::unique_ptr<test::TempDir> fixtures_;
  static inline bool fixturesMade_ = false;
  wine_harness::WineSession* session_ = nullptr;
  std::string probe_;
};

// Everything below needs both: the MCI strings go out in code page 932, and
// the MPEGVideo driver will not play without a wave device.
TEST_F(MusicWine, SessionIsJapaneseWithAWaveDevice) {
  const auto run = Probe({"system"});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "acp"), "932");
  EXPECT_GE(std::atoi(Field(fields, "wavedevices").c_str()), 1) << run.output;
}

TEST_F(MusicWine, Mp3OpensPlaysStopsAndClosesUnderItsAlias) {
  const auto run = Probe({"mci", WindowsFile("tone.mp3")});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "open"), "0");
  EXPECT_EQ(Field(fields, "play"), "0");
  EXPECT_EQ(Field(fields, "mode"), "playing") << run.output;
  // Milliseconds, the driver's default time format; the encoder pads a little.
  const int length = std::atoi(Field(fields, "length").c_str());
  EXPECT_NEAR(length, kToneSeconds * 1000, 100) << run.output;
  EXPECT_EQ(Field(fields, "position_moved"), "1");
  EXPECT_EQ(Field(fields, "stop"), "0");
  EXPECT_EQ(Field(fields, "stopped_mode"), "stopped");
  EXPECT_EQ(Field(fields, "close"), "0");
  // The alias is gone once closed.
  EXPECT_TRUE(StartsWith(Field(fields, "closed_status"), "Error:")) << run.output;
}

TEST_F(MusicWine, MissingFileDoesNotOpen) {
  const auto run = Probe({"mci", WindowsFile("no such file.mp3")});
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_NE(Field(fields, "open"), "0");
  EXPECT_NE(Field(fields, "open"), "<missing>");
  EXPECT_EQ(Field(fields, "play"), "<missing>");
}

TEST_F(MusicWine, SendMciReturnsTheCodeAndATextForFailures) {
  struct Case {
    std::string command;
    bool mciError;         // a code from winmm, with winmm's own text
    std::string expected;  // the exact reply when the module makes it itself
  };
  const Case cases[] = {
      {"open cdaudio", true, ""},  // no drive in the session
      {"status NoSuchAlias mode", true, ""},
      {"", false, "コマンド文字列が指定されていません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("command \"" + c.command + "\"");
    const auto run = Probe({"send", c.command});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const Fields fields = ParseFields(run.output);
    const int result = std::atoi(Field(fields, "result").c_str());
    const std::string reply = Field(fields, "reply");
    if (c.mciError) {
      // MCI error codes start at MCIERR_BASE (256).
      EXPECT_GT(result, 256) << run.output;
      EXPECT_FALSE(reply.empty());
      EXPECT_NE(reply, "<missing>");
      EXPECT_NE(reply, "Error (文字列が取れません)");
    } else {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(reply, c.expected);
    }
  }
}

struct ModuleCase {
  const char* file;
  const char* locale;
  const char* name;
};

class MusicWineModule : public MusicWine, public ::testing::WithParamInterface<ModuleCase> {
 protected:
  std::string Locale() const override { return GetParam().locale; }
};

// PlayMp3, the end of the file seen by IsMp3Playing, the restart by
// RepeatMp3, and StopMp3 closing the alias. A Japanese name plays on a
// system whose code page cannot hold it (1252) too.
TEST_P(MusicWineModule, Mp3PlaysToItsEndRestartsAndStops) {
  const auto run = Probe({"bgm", WindowsFile(GetParam().file)});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "playing"), "1") << run.output;
  EXPECT_EQ(Field(fields, "ended"), "1") << run.output;
  EXPECT_TRUE(StartsWith(Field(fields, "ended_mode"), "stopped")) << run.output;
  EXPECT_EQ(Field(fields, "restarted"), "1") << run.output;
  EXPECT_EQ(Field(fields, "still_playing"), "1") << run.output;
  EXPECT_TRUE(StartsWith(Field(fields, "closed_status"), "Error:")) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Files, MusicWineModule,
                         ::testing::Values(ModuleCase{"tone.mp3", wine_harness::kJapaneseLocale, "Ascii"},
                                           ModuleCase{"音楽 テスト.mp3", wine_harness::kJapaneseLocale,
                                                      "JapaneseWithSpace"},
                                           ModuleCase{"音楽 テスト.mp3", "C.UTF-8", "JapaneseOnCodePage1252"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace music::wine_test
