#include "saver/common/vb_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

struct Integer16Case {
  const char* text;
  std::optional<std::int16_t> expected;
};

class ReadInteger16Test : public testing::TestWithParam<Integer16Case> {};

TEST_P(ReadInteger16Test, Converts) {
  EXPECT_EQ(common::ReadInteger16(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadInteger16Test,
    testing::Values(
        // the written sign position and blanks around the digits
        Integer16Case{" 2", 2}, Integer16Case{"2 ", 2}, Integer16Case{"\t 2 \t", 2},
        Integer16Case{"7", 7}, Integer16Case{"0", 0}, Integer16Case{"-3", -3},
        Integer16Case{"+4", 4},
        // integer part toward negative infinity
        Integer16Case{"2.9", 2}, Integer16Case{"-0.5", -1}, Integer16Case{"-2.0", -2},
        Integer16Case{"-2.000001", -3}, Integer16Case{".5", 0}, Integer16Case{"5.", 5},
        Integer16Case{"-.5", -1},
        // exponents
        Integer16Case{"1e2", 100}, Integer16Case{"1E+2", 100}, Integer16Case{"25e-1", 2},
        Integer16Case{"1D3", 1000}, Integer16Case{"1e-400", 0},
        // 16-bit range, judged on the integer part
        Integer16Case{"32767", 32767}, Integer16Case{"32767.99", 32767},
        Integer16Case{"-32768", -32768}, Integer16Case{"32768", std::nullopt},
        Integer16Case{"-32768.5", std::nullopt}, Integer16Case{"1e5", std::nullopt},
        Integer16Case{"1e400", std::nullopt},
        Integer16Case{"99999999999999999999999999", std::nullopt},
        // not numbers
        Integer16Case{"", std::nullopt}, Integer16Case{"   ", std::nullopt},
        Integer16Case{"abc", std::nullopt}, Integer16Case{"2a", std::nullopt},
        Integer16Case{"2 3", std::nullopt}, Integer16Case{".", std::nullopt},
        Integer16Case{"-", std::nullopt}, Integer16Case{"+-2", std::nullopt},
        Integer16Case{"1e", std::nullopt}, Integer16Case{"1.2.3", std::nullopt},
        Integer16Case{"- 2", std::nullopt}, Integer16Case{"inf", std::nullopt},
        Integer16Case{"nan", std::nullopt}, Integer16Case{"0x10", std::nullopt},
        Integer16Case{"２", std::nullopt}));

TEST(ReadNumberTest, KeepsFractionsAndSigns) {
  EXPECT_EQ(common::ReadNumber(" 2.25 "), 2.25);
  EXPECT_EQ(common::ReadNumber("-1.5e1"), -15.0);
  EXPECT_EQ(common::ReadNumber("1x"), std::nullopt);
}

struct LeadingCase {
  const char* text;
  double expected;
};

class ReadLeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(ReadLeadingNumberTest, StopsAtFirstOtherCharacter) {
  EXPECT_EQ(common::ReadLeadingNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadLeadingNumberTest,
    testing::Values(LeadingCase{"1234", 1234}, LeadingCase{" 1234", 1234},
                    LeadingCase{":1234", 0}, LeadingCase{"1234 extra", 1234},
                    LeadingCase{"12ab", 12}, LeadingCase{"1.5x", 1.5}, LeadingCase{"2e3z", 2000},
                    LeadingCase{"7e", 7}, LeadingCase{"-8", -8}, LeadingCase{"", 0},
                    LeadingCase{"abc", 0}, LeadingCase{"1e999", 0}));

TEST(RoundToInteger32Test, RoundsHalfToEvenWithinRange) {
  EXPECT_EQ(common::RoundToInteger32(2.5), 2);
  EXPECT_EQ(common::RoundToInteger32(3.5), 4);
  EXPECT_EQ(common::RoundToInteger32(-2.5), -2);
  EXPECT_EQ(common::RoundToInteger32(1.4999), 1);
  EXPECT_EQ(common::RoundToInteger32(2147483647.0), 2147483647);
  EXPECT_EQ(common::RoundToInteger32(2147483648.0), std::nullopt);
  EXPECT_EQ(common::RoundToInteger32(-2147483649.0), std::nullopt);
  EXPECT_EQ(common::RoundToInteger32(NAN), std::nullopt);
  EXPECT_EQ(common::RoundToInteger32(INFINITY), std::nullopt);
}

TEST(WriteSignedTest, PutsSpaceOrMinusInSignPosition) {
  EXPECT_EQ(common::WriteSigned(2), " 2");
  EXPECT_EQ(common::WriteSigned(0), " 0");
  EXPECT_EQ(common::WriteSigned(-3), "-3");
  EXPECT_EQ(common::WriteSigned(32767), " 32767");
  EXPECT_EQ(common::WriteSigned(-32768), "-32768");
}

TEST(WriteSignedTest, ReadsBackToSameValue) {
  for (int value : {-32768, -1, 0, 1, 30, 32767}) {
    EXPECT_EQ(common::ReadInteger16(common::WriteSigned(value)), value);
  }
}

}  // namespace
