#include "saver/settings/ini_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using saver::ini::FindValue;
using saver::ini::SetValue;

// "ア" is 83 41 and "ヂ" is 83 61 in CP932: they differ only in a trail byte
// that looks like 'A' / 'a'.
const std::string kA = "\x83\x41";
const std::string kDi = "\x83\x61";

struct FindCase {
  const char* name;
  std::string text;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

class FindValueTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindValueTest, Reads) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindValueTest,
    testing::Values(
        FindCase{"Plain", "[Section]\r\nk=v\r\n", "Section", "k", "v"},
        FindCase{"NoLineBreakAtEnd", "[Section]\r\nk=v", "Section", "k", "v"},
        FindCase{"LfOnly", "[S]\nk=v\n", "S", "k", "v"},
        FindCase{"CrOnly", "[S]\rk=v\rj=w", "S", "j", "w"},
        FindCase{"CaseInsensitiveAscii", "[SECTION]\r\nKey=v\r\n", "section", "kEY", "v"},
        FindCase{"BlanksTrimmed", "  [ S ]  \r\n \t k \t= \t v a \t\r\n", "S", "k", "v a"},
        FindCase{"LeadingSpaceOfSignPositionDropped", "[S]\r\nk= 2\r\n", "S", "k", "2"},
        FindCase{"DoubleQuotesStripped", "[S]\r\nk=\" x \"\r\n", "S", "k", " x "},
        FindCase{"SingleQuotesStripped", "[S]\r\nk='x'\r\n", "S", "k", "x"},
        FindCase{"MixedQuotesKept", "[S]\r\nk=\"x'\r\n", "S", "k", "\"x'"},
        FindCase{"OneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        FindCase{"EmptyQuotes", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
        FindCase{"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        FindCase{"EqualsInValue", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        FindCase{"MissingKey", "[S]\r\nk=v\r\n", "S", "j", std::nullopt},
        FindCase{"MissingSection", "[S]\r\nk=v\r\n", "T", "k", std::nullopt},
        FindCase{"EmptyFile", "", "S", "k", std::nullopt},
        FindCase{"KeyBeforeAnySection", "k=v\r\n[S]\r\n", "S", "k", std::nullopt},
        FindCase{"KeyOfOtherSection", "[A]\r\nk=1\r\n[B]\r\nj=2\r\n", "B", "k", std::nullopt},
        FindCase{"FirstDuplicateKeyWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        FindCase{"FirstDuplicateSectionWins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "1"},
        FindCase{"LaterDuplicateSectionIgnored", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k",
                 std::nullopt},
        FindCase{"CommentIsNoKey", "[S]\r\n;k=1\r\n", "S", ";k", std::nullopt},
        FindCase{"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\n", "S", "k", std::nullopt},
        FindCase{"UnclosedBracketIsNoSection", "[S\r\nk=1\r\n", "S", "k", std::nullopt},
        FindCase{"KeyNamesInCp932", "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\n", "Section",
                 "bgm\x8B\xE6\x95\xAA", "2"},
        FindCase{"HalfWidthKatakanaNotFolded", "[S]\r\n\xD8\xCB=1\r\n", "S", "\xD8\xCB", "1"},
        FindCase{"TrailByteNotFolded", "[S]\r\n" + kA + "=1\r\n", "S", kDi, std::nullopt},
        FindCase{"TrailByteMatchesItself", "[S]\r\n" + kDi + "=1\r\n", "S", kDi, "1"},
        FindCase{"TrailByteOfSectionNotFolded", "[" + kA + "]\r\nk=1\r\n", "[" + kDi, "k",
                 std::nullopt},
        // 83 5D is "ゾ": its second byte is ']' and must not close the name.
        FindCase{"TrailByteBracketInSection", "[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k", "1"},
        FindCase{"NulInsideValueKept", std::string("[S]\r\nk=a\0b\r\n", 12), "S", "k",
                 std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<FindCase>& info) { return info.param.name; });

struct SetCase {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::optional<std::string> after;
};

class SetValueTest : public testing::TestWithParam<SetCase> {};

TEST_P(SetValueTest, Writes) {
  const SetCase& c = GetParam();
  EXPECT_EQ(SetValue(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetValueTest,
    testing::Values(
        SetCase{"NewFile", "", "Section", "BGM\x8B\xE6\x95\xAA", " 2",
                "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\n"},
        SetCase{"ReplaceKeepsEverythingElse",
                "; note\r\n[Other]\r\nx = 1 \r\njunk line\r\n[Section]\r\nk=old\r\nz=9\r\n",
                "Section", "k", "new",
                "; note\r\n[Other]\r\nx = 1 \r\njunk line\r\n[Section]\r\nk=new\r\nz=9\r\n"},
        SetCase{"ReplaceKeepsLineBreakOfThatLine", "[S]\na=1\nb=2\n", "S", "a", "9",
                "[S]\na=9\nb=2\n"},
        SetCase{"ReplaceCaseInsensitively", "[section]\r\nKEY = 1\r\n", "Section", "key", "2",
                "[section]\r\nkey=2\r\n"},
        SetCase{"AddAfterLastKeyOfSection", "[Section]\r\na=1\r\n\r\n[B]\r\nb=2\r\n", "Section",
                "k", "v", "[Section]\r\na=1\r\nk=v\r\n\r\n[B]\r\nb=2\r\n"},
        SetCase{"AddToSectionWithoutKeys", "[Section]\r\n[B]\r\n", "Section", "k", "v",
                "[Section]\r\nk=v\r\n[B]\r\n"},
        SetCase{"AddAfterLastLineWithoutBreak", "[Section]\r\na=1", "Section", "k", "v",
                "[Section]\r\na=1\r\nk=v\r\n"},
        SetCase{"AddSectionAtEnd", "[A]\r\na=1\r\n", "Section", "k", "v",
                "[A]\r\na=1\r\n[Section]\r\nk=v\r\n"},
        SetCase{"AddSectionAfterLineWithoutBreak", "junk", "Section", "k", "v",
                "junk\r\n[Section]\r\nk=v\r\n"},
        SetCase{"FirstDuplicateUpdated", "[S]\r\na=1\r\na=2\r\n[S]\r\na=3\r\n", "S", "a", "x",
                "[S]\r\na=x\r\na=2\r\n[S]\r\na=3\r\n"},
        SetCase{"ValueVerbatim", "", "S", "k", " \"q\" ", "[S]\r\nk= \"q\" \r\n"},
        SetCase{"EmptyValue", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
        SetCase{"TrailByteKeyIsAnotherKey", "[S]\r\n" + kA + "=1\r\n", "S", kDi, "2",
                "[S]\r\n" + kA + "=1\r\n" + kDi + "=2\r\n"},
        SetCase{"InvalidBytesElsewhereKept", "[X]\r\n\x81\xFF=\x82\r\n", "S", "k", "v",
                "[X]\r\n\x81\xFF=\x82\r\n[S]\r\nk=v\r\n"},
        SetCase{"ValueWithLineBreakRefused", "", "S", "k", "a\r\n[T]", std::nullopt},
        SetCase{"ValueWithNulRefused", "", "S", "k", std::string("a\0b", 3), std::nullopt},
        SetCase{"EmptyKeyRefused", "", "S", "", "v", std::nullopt},
        SetCase{"KeyWithEqualsRefused", "", "S", "a=b", "v", std::nullopt},
        SetCase{"KeyWithBlankEdgeRefused", "", "S", " k", "v", std::nullopt},
        SetCase{"CommentKeyRefused", "", "S", ";k", "v", std::nullopt},
        SetCase{"EmptySectionRefused", "", "", "k", "v", std::nullopt},
        SetCase{"SectionWithBracketRefused", "", "a]b", "k", "v", std::nullopt},
        SetCase{"SectionEndingInLeadByteRefused", "", "a\x81", "k", "v", std::nullopt},
        SetCase{"SectionWithTrailByteBracket", "", "\x83\x5D", "k", "v",
                "[\x83\x5D]\r\nk=v\r\n"}),
    [](const testing::TestParamInfo<SetCase>& info) { return info.param.name; });

// After any write, the key reads back as the profile rules say and no other
// key changes.
TEST(IniRoundTripTest, WritesReadBackAndLeaveOtherKeysAlone) {
  const std::string files[] = {
      "",
      "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\nother=x\r\n",
      "[a]\nk=1\n[Section]\nk=2\n[c]\nk=3",
      "\x81\x81 junk\r\n[Section]\r\n;c\r\n\r\n[Section]\r\nk=dup\r\n",
  };
  const std::string values[] = {" 2", "-3", "", "/music/a b.mp3", "\"q\"", "  pad  ",
                                "\x89\xB9\x8A\x79.mp3"};
  struct Probe {
    std::string section, key;
  } probes[] = {{"a", "k"}, {"c", "k"}, {"Section", "other"}, {"Section", "BGM\x8B\xE6\x95\xAA"}};
  for (const std::string& file : files) {
    for (const std::string& value : values) {
      std::optional<std::string> written = SetValue(file, "Section", "k", value);
      ASSERT_TRUE(written);
      std::string expected = value;
      while (!expected.empty() && expected.front() == ' ') expected.erase(0, 1);
      while (!expected.empty() && expected.back() == ' ') expected.pop_back();
      if (expected.size() >= 2 && expected.front() == '"' && expected.back() == '"') {
        expected = expected.substr(1, expected.size() - 2);
      }
      EXPECT_EQ(FindValue(*written, "SECTION", "K"), expected) << file << " / " << value;
      for (const Probe& probe : probes) {
        EXPECT_EQ(FindValue(*written, probe.section, probe.key),
                  FindValue(file, probe.section, probe.key))
            << probe.section << "." << probe.key;
      }
      EXPECT_EQ(SetValue(*written, "Section", "k", value), written) << "second write is stable";
    }
  }
}

}  // namespace
