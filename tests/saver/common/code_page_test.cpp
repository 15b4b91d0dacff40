#include "saver/common/code_page.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePageTest, ConvertsTheKeyNamesBothWays) {
  struct Case {
    const char* utf8;
    const char* cp932;
  } cases[] = {
      {"BGM区分", "BGM\x8B\xE6\x95\xAA"},
      {"BGMﾘﾋﾟｰﾄ", "BGM\xD8\xCB\xDF\xB0\xC4"},  // half-width katakana: one byte each
      {"BGMﾌｧｲﾙ", "BGM\xCC\xA7\xB2\xD9"},
      {"ゾ表", "\x83\x5D\x95\x5C"},  // trail bytes that look like ']' and '\'
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(common::Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(common::Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  }
}

TEST(CodePageTest, RefusesTextCp932CannotHold) {
  EXPECT_EQ(common::Utf8ToCp932("曲😀.mp3"), std::nullopt);
  EXPECT_EQ(common::Utf8ToCp932("한국어"), std::nullopt);
  EXPECT_EQ(common::Utf8ToCp932("\xFF\xFE"), std::nullopt);  // not UTF-8 at all
}

TEST(CodePageTest, StrictDecodingRefusesInvalidShiftJis) {
  EXPECT_EQ(common::Cp932ToUtf8("\x81"), std::nullopt);      // lead byte cut off
  EXPECT_EQ(common::Cp932ToUtf8("a\x81\x20"), std::nullopt); // no valid trail byte
}

TEST(CodePageTest, LossyDecodingReplacesOnlyTheBadBytes) {
  EXPECT_EQ(common::Cp932ToUtf8Lossy("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(common::Cp932ToUtf8Lossy("\x83\x41" "x\x81 y"), "アx\xEF\xBF\xBD y");
  EXPECT_EQ(common::Cp932ToUtf8Lossy("ok"), "ok");
}

TEST(CodePageTest, LeadBytesAreTheDoubleByteRanges) {
  EXPECT_FALSE(common::IsCp932LeadByte(0x80));
  EXPECT_TRUE(common::IsCp932LeadByte(0x81));
  EXPECT_TRUE(common::IsCp932LeadByte(0x9F));
  EXPECT_FALSE(common::IsCp932LeadByte(0xA1));  // half-width katakana
  EXPECT_FALSE(common::IsCp932LeadByte(0xDF));
  EXPECT_TRUE(common::IsCp932LeadByte(0xE0));
  EXPECT_TRUE(common::IsCp932LeadByte(0xFC));
  EXPECT_FALSE(common::IsCp932LeadByte(0xFD));
}

}  // namespace
