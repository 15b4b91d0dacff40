#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "tests/cmake/fixture_files.h"

namespace {

std::vector<unsigned char> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<unsigned char> Bytes(std::span<const unsigned char> bytes) { return {bytes.begin(), bytes.end()}; }

// Every embedded file is its source byte for byte, under its name and through
// its accessor; a name that is not there finds nothing.
TEST(EmbedFilesTest, EveryFileIsItsSourceByteForByte) {
  struct Case {
    const char* name;
    const char* path;
    std::span<const unsigned char> accessor;
  };
  const Case cases[] = {
      {"Sky", SKY_FILE, fixture::Sky()},
      {"Layout", LAYOUT_FILE, fixture::Layout()},
      {"Empty", EMPTY_FILE, fixture::Empty()},
      {"123", CURSOR_FILE, fixture::Find("123")},
  };
  for (const Case& c : cases) {
    const std::vector<unsigned char> source = ReadFile(c.path);
    ASSERT_EQ(source.empty(), std::string_view(c.name) == "Empty") << c.name;
    EXPECT_EQ(Bytes(fixture::Find(c.name)), source) << c.name;
    EXPECT_EQ(Bytes(c.accessor), source) << c.name;
  }
  for (const char* missing : {"", "sky", "Sky ", "1234", "Find"}) EXPECT_TRUE(fixture::Find(missing).empty()) << missing;
}

}  // namespace
