#include "saver/music/gst/command_parser.h"

#include <gtest/gtest.h>

#include "saver/music/gst/cd_time.h"
#include "saver/music/gst/mci_error_text.h"
#include "saver/music/mci_errors.h"

namespace music {
namespace {

struct ParseCase {
  std::string text;
  std::uint32_t error;
  std::vector<std::string> tokens;  // verb, device, args; quoted ones in [brackets]
};

std::vector<std::string> Flatten(const MciCommand& c) {
  std::vector<std::string> out{c.verb};
  auto add = [&](const MciToken& t) { out.push_back(t.quoted ? "[" + t.text + "]" : t.text); };
  add(c.device);
  for (const MciToken& t : c.args) add(t);
  return out;
}

TEST(MciCommandParser, SplitsQuotedAndPlainTokens) {
  const ParseCase cases[] = {
      {"open cdaudio", 0, {"open", "cdaudio"}},
      {"  STATUS   cdaudio\tnumber of tracks  ", 0, {"status", "cdaudio", "number", "of", "tracks"}},
      {"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", 0,
       {"open", "[C:\\My Music\\a b.mp3]", "type", "MPEGVideo", "Alias", "MP3Play"}},
      {"open \"曲 テスト.mp3\" alias x", 0, {"open", "[曲 テスト.mp3]", "alias", "x"}},
      {"open \"\" alias x", 0, {"open", "[]", "alias", "x"}},
      {std::string("open cdaudio\0 alias evil", 24), 0, {"open", "cdaudio"}},
      {"", Code(MciErr::MissingCommandString), {}},
      {"   ", Code(MciErr::MissingCommandString), {}},
      {"play", Code(MciErr::MissingDeviceName), {}},
      {"open \"a.mp3 type MPEGVideo", Code(MciErr::NoClosingQuote), {}},
      {"open \"a\"b.mp3\" type MPEGVideo", Code(MciErr::ExtraCharacters), {}},
      {"open a\"b.mp3 type MPEGVideo", Code(MciErr::ExtraCharacters), {}},
      {"open \"a\" alias x\"", Code(MciErr::ExtraCharacters), {}},
      {"\"open\" cdaudio", Code(MciErr::UnrecognizedCommand), {}},
  };
  for (const ParseCase& c : cases) {
    const ParsedCommand parsed = ParseMciCommand(c.text);
    EXPECT_EQ(parsed.error, c.error) << c.text;
    if (c.error == 0) {
      EXPECT_EQ(Flatten(parsed.command), c.tokens) << c.text;
    }
  }
}

TEST(MciCommandParser, QuotedWordsAreNeverKeywords) {
  const ParsedCommand parsed = ParseMciCommand("open \"alias\" alias alias");
  ASSERT_EQ(parsed.error, 0u);
  EXPECT_FALSE(IsKeyword(parsed.command.device, "alias"));
  EXPECT_TRUE(IsKeyword(parsed.command.args[0], "alias"));
  EXPECT_TRUE(IsKeyword(parsed.command.args[1], "alias"));
}

TEST(MciErrorText, EveryCodeTheInterpreterReturnsHasText) {
  for (MciErr e : {MciErr::UnrecognizedKeyword, MciErr::UnrecognizedCommand, MciErr::Hardware,
                   MciErr::InvalidDeviceName, MciErr::DeviceOpen, MciErr::CannotLoadDriver,
                   MciErr::MissingCommandString, MciErr::BadInteger, MciErr::MissingParameter,
                   MciErr::UnsupportedFunction, MciErr::FileNotFound, MciErr::DeviceNotReady,
                   MciErr::ExtensionNotFound, MciErr::OutOfRange, MciErr::DuplicateAlias, MciErr::BadConstant,
                   MciErr::MissingDeviceName, MciErr::BadTimeFormat, MciErr::NoClosingQuote,
                   MciErr::DuplicateFlags, MciErr::InvalidFile, MciErr::ExtraCharacters}) {
    const auto text = MciErrorText(Code(e));
    ASSERT_TRUE(text.has_value()) << Code(e);
    EXPECT_FALSE(text->empty());
  }
  EXPECT_FALSE(MciErrorText(0).has_value());
  EXPECT_FALSE(MciErrorText(12345).has_value());
}

// Three tracks of 2 s, 3 s and 4 s starting at sector 0.
CdToc ThreeTracks() {
  CdToc toc;
  toc.firstTrack = 1;
  toc.trackStart = {0, 150, 375};
  toc.leadOut = 675;
  return toc;
}

TEST(CdTime, FormatsPositionsAsMciDoes) {
  const CdToc toc = ThreeTracks();
  struct Case {
    CdTimeFormat format;
    std::int32_t sector;
    const char* text;
  } cases[] = {
      {CdTimeFormat::Tmsf, 0, "01:00:00:00"},     {CdTimeFormat::Tmsf, 150, "02:00:00:00"},
      {CdTimeFormat::Tmsf, 374, "02:00:02:74"},      {CdTimeFormat::Tmsf, 375 + 4500 + 76, "03:01:01:01"},
      {CdTimeFormat::Msf, 0, "00:02:00"},         {CdTimeFormat::Msf, 375, "00:07:00"},
      {CdTimeFormat::Milliseconds, 150, "4000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCdPosition(toc, c.format, c.sector), c.text) << c.sector;
  }
  EXPECT_EQ(FormatCdLength(CdTimeFormat::Tmsf, 225), "00:03:00");
  EXPECT_EQ(FormatCdLength(CdTimeFormat::Milliseconds, 225), "3000");
}

TEST(CdTime, ReadsPositionsAndRefusesBadOnes) {
  CdToc toc = ThreeTracks();
  toc.leadOut = 375 + 6000;
  struct Case {
    CdTimeFormat format;
    const char* text;
    std::int32_t sector;
    std::uint32_t error;
  } cases[] = {
      {CdTimeFormat::Tmsf, "3", 375, 0},
      {CdTimeFormat::Tmsf, "02:00:00:00", 150, 0},
      {CdTimeFormat::Tmsf, "3:1:1:1", 375 + 4576, 0},
      {CdTimeFormat::Tmsf, "4", 0, Code(MciErr::OutOfRange)},
      {CdTimeFormat::Tmsf, "0", 0, Code(MciErr::OutOfRange)},
      {CdTimeFormat::Tmsf, "3:99:0:0", 0, Code(MciErr::OutOfRange)},
      {CdTimeFormat::Tmsf, "Error:282", 0, Code(MciErr::BadInteger)},
      {CdTimeFormat::Tmsf, "1:2:3:4:5", 0, Code(MciErr::BadInteger)},
      {CdTimeFormat::Tmsf, "1::", 0, Code(MciErr::BadInteger)},
      {CdTimeFormat::Tmsf, "-1", 0, Code(MciErr::BadInteger)},
      {CdTimeFormat::Tmsf, "99999999999999", 0, Code(MciErr::BadInteger)},
      {CdTimeFormat::Msf, "00:04:00", 150, 0},
      {CdTimeFormat::Msf, "00:01:00", 0, Code(MciErr::OutOfRange)},
      {CdTimeFormat::Milliseconds, "4000", 150, 0},
  };
  for (const auto& c : cases) {
    const CdPositionResult result = ParseCdPosition(toc, c.format, c.text);
    EXPECT_EQ(result.error, c.error) << c.text;
    if (c.error == 0) {
      EXPECT_EQ(result.sector, c.sector) << c.text;
    }
  }
}

// Where playback may start: inside an audio track, before the audio's end.
TEST(CdTime, PlayableStartsLieInAudioTracks) {
  struct Case {
    const char* name;
    std::vector<bool> audio;
    std::int32_t audioStart, audioEnd;
    std::vector<std::int32_t> playable, refused;
  } cases[] = {
      {"all audio", {}, 0, 675, {0, 149, 150, 674}, {-1, 675, 700}},
      {"data first", {false, true, true}, 150, 675, {150, 374, 375, 674}, {0, 149, 675}},
      {"data between", {true, false, true}, 0, 675, {0, 149, 375}, {150, 374, 675}},
      {"data last", {true, true, false}, 0, 375, {0, 374}, {375, 674, 675}},
  };
  for (const Case& c : cases) {
    CdToc toc = ThreeTracks();
    toc.trackAudio = c.audio;
    EXPECT_TRUE(toc.HasAudio()) << c.name;
    EXPECT_EQ(toc.AudioStart(), c.audioStart) << c.name;
    EXPECT_EQ(toc.AudioEnd(), c.audioEnd) << c.name;
    for (std::int32_t sector : c.playable) EXPECT_TRUE(toc.IsPlayableStart(sector)) << c.name << " " << sector;
    for (std::int32_t sector : c.refused) EXPECT_FALSE(toc.IsPlayableStart(sector)) << c.name << " " << sector;
  }
  CdToc data = ThreeTracks();
  data.trackAudio = {false, false, false};
  EXPECT_FALSE(data.HasAudio());
  EXPECT_FALSE(data.IsPlayableStart(0));
}

}  // namespace
}  // namespace music
