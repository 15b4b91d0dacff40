// Replies cut to the buffer the caller gave: never half a character.
#include "saver/music/reply_buffer.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace music::test {
namespace {

struct CutCase {
  const char* text;
  std::size_t capacity;
  const char* expected;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << '"' << c.text << "\" in " << c.capacity; }

class ReplyCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(ReplyCut, EndsOnACharacterAndKeepsTheRest) {
  const CutCase& c = GetParam();
  std::array<char, 16> buffer;
  buffer.fill('#');
  WriteReply(c.text, std::span<char>(buffer.data(), c.capacity));
  const std::string written(buffer.data());
  EXPECT_EQ(written, c.expected);
  // What lies after the NUL stays as it was.
  for (std::size_t i = written.size() + 1; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '#') << i;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReplyCut,
    ::testing::Values(
        CutCase{"playing", 16, "playing"}, CutCase{"playing", 8, "playing"}, CutCase{"playing", 5, "play"},
        CutCase{"playing", 1, ""},
        // "音楽" is two three-byte characters.
        CutCase{"音楽", 7, "音楽"}, CutCase{"音楽", 6, "音"}, CutCase{"音楽", 5, "音"}, CutCase{"音楽", 4, "音"},
        CutCase{"音楽", 3, ""}, CutCase{"a音", 3, "a"}, CutCase{"ab\xC3\xA9", 4, "ab"},
        CutCase{"\xF0\x9F\x8E\xB5x", 5, "\xF0\x9F\x8E\xB5"}, CutCase{"\xF0\x9F\x8E\xB5x", 4, ""}));

TEST(ReplyCut, EmptyBufferIsLeftAlone) {
  char byte = '#';
  WriteReply("playing", std::span<char>(&byte, 0));
  EXPECT_EQ(byte, '#');
}

}  // namespace
}  // namespace music::test
