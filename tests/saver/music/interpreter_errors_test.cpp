// What the interpreter refuses, and that a refusal leaves nothing open.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "tests/saver/music/audio_fixtures.h"
#include "saver/music/lumora_bgm.h"
#include "saver/music/mci_errors.h"
#include "saver/music/gst/mci_interpreter.h"
#include "saver/settings_vars.h"
#include "saver/music/gst/gst_mci.h"

namespace music::test {
namespace {

class InterpreterErrors : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ASSERT_TRUE(MakeToneWav(dir_->File("tone.wav"), 1, 440));
    ASSERT_TRUE(WavToMp3(dir_->File("tone.wav"), dir_->File("tone.mp3")));
    std::ofstream(dir_->File("empty.mp3"));
    std::ofstream(dir_->File("corrupt.mp3")) << std::string(20000, 'Z');
    std::filesystem::create_directory(dir_->File("folder.mp3"));
  }
  static void TearDownTestSuite() { delete dir_; }

  std::uint32_t Run(const std::string& command) {
    std::string reply;
    return interpreter.Execute(command, reply);
  }
  std::string Reply(const std::string& command) {
    std::string reply;
    return interpreter.Execute(command, reply) == 0 ? reply : "<error>";
  }

  static TempDir* dir_;
  MciInterpreter interpreter{"fakesink", std::string()};
};
TempDir* InterpreterErrors::dir_ = nullptr;

TEST_F(InterpreterErrors, RefusesWhatItDoesNotKnow) {
  const std::string mp3 = "\"" + dir_->File("tone.mp3") + "\"";
  ASSERT_EQ(Run("open " + mp3 + " type MPEGVideo alias song"), 0u);
  struct Case {
    std::string command;
    MciErr error;
  } cases[] = {
      {"", MciErr::MissingCommandString},
      {"jump song", MciErr::UnrecognizedCommand},
      {"play", MciErr::MissingDeviceName},
      {"play other", MciErr::InvalidDeviceName},
      {"close other", MciErr::InvalidDeviceName},
      {"status cdaudio mode", MciErr::InvalidDeviceName},
      {"play song from", MciErr::MissingParameter},
      {"play song from x", MciErr::BadInteger},
      {"play song from 0 from 0", MciErr::DuplicateFlags},
      {"play song backwards", MciErr::UnrecognizedKeyword},
      {"play song from 999999", MciErr::OutOfRange},
      {"status song", MciErr::MissingParameter},
      {"status song colour", MciErr::UnrecognizedKeyword},
      {"set song time format tmsf", MciErr::BadTimeFormat},
      {"set song door open", MciErr::UnsupportedFunction},
      {"open " + mp3 + " type MPEGVideo alias song", MciErr::DuplicateAlias},
      {"open " + mp3 + " type waveaudio alias other", MciErr::InvalidDeviceName},
      {"open \"" + dir_->File("tone.wav") + "\" alias other", MciErr::ExtensionNotFound},
      {"open " + mp3 + " type MPEGVideo alias song2 speed 9", MciErr::UnrecognizedKeyword},
      {"open " + mp3 + " type MPEGVideo alias all", MciErr::BadConstant},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.command), Code(c.error)) << c.command;
  EXPECT_EQ(Reply("status song mode"), "stopped");
  EXPECT_EQ(Run("status other mode"), Code(MciErr::InvalidDeviceName));
  EXPECT_EQ(Run("status song2 mode"), Code(MciErr::InvalidDeviceName));
  EXPECT_EQ(Run("close song"), 0u);
  EXPECT_EQ(Run("close song"), Code(MciErr::InvalidDeviceName));
}

TEST_F(InterpreterErrors, FilesThatCannotPlayDoNotOpen) {
  struct Case {
    std::string path;
    MciErr error;
  } cases[] = {
      {dir_->File("missing.mp3"), MciErr::FileNotFound},
      {dir_->File("empty.mp3"), MciErr::InvalidFile},
      {dir_->File("corrupt.mp3"), MciErr::InvalidFile},
      {dir_->File("folder.mp3"), MciErr::FileNotFound},
      {"", MciErr::FileNotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run("open \"" + c.path + "\" type MPEGVideo Alias MP3Play"), Code(c.error)) << c.path;
    EXPECT_EQ(Run("play MP3Play"), Code(MciErr::InvalidDeviceName)) << c.path;
  }
}

// A file name with a double quote must not carry options of its own into
// the open command.
TEST_F(InterpreterErrors, QuotesInFileNamesCannotAddOptions) {
  const std::string tone = dir_->File("tone.mp3");
  GstMci mci("fakesink", std::string());
  Lumora_BGM bgm(mci);
  const std::string names[] = {
      tone + "\" alias evil \"" + tone,
      tone + "\" type MPEGVideo alias evil \"x",
      tone + "\"",
      "\"" + tone,
      tone + "\" alias evil",
  };
  for (const std::string& name : names) {
    saver::BgmFile = name;
    bgm.PlayMp3();
    std::array<char, 30> mode{};
    EXPECT_EQ(mci.SendString("status MP3Play mode", mode), Code(MciErr::InvalidDeviceName)) << name;
    EXPECT_EQ(mci.SendString("status evil mode", mode), Code(MciErr::InvalidDeviceName)) << name;
  }
  saver::BgmFile.clear();
}

TEST_F(InterpreterErrors, RepliesAreCutAndFailuresLeaveTheBuffer) {
  GstMci mci("fakesink", std::string());
  std::array<char, 6> small{};
  small.fill('#');
  EXPECT_EQ(mci.SendString("open cdaudio", small), 0u);
  EXPECT_EQ(small[0], '\0');
  EXPECT_EQ(mci.SendString("set cdaudio time format milliseconds", small), 0u);
  EXPECT_EQ(mci.SendString("status cdaudio time format", small), 0u);
  EXPECT_EQ(std::string(small.data()), "milli");
  EXPECT_EQ(mci.SendString("status cdaudio number of tracks", small), Code(MciErr::DeviceNotReady));
  EXPECT_EQ(std::string(small.data()), "milli");

  std::array<char, 8> text{};
  EXPECT_TRUE(mci.GetErrorString(Code(MciErr::FileNotFound), text));
  EXPECT_EQ(std::string(text.data()), "Cannot ");
  EXPECT_FALSE(mci.GetErrorString(1, text));
}

}  // namespace
}  // namespace music::test
