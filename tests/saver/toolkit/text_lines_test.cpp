// A caption's lines as the Windows build's DrawText (word breaks, edit
// control style) makes them, measured here at one pixel per character.
#include "saver/toolkit/common/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Lines(std::u16string_view text, int width, bool centred = false) {
  std::vector<std::u16string> out;
  const auto measure = [](std::u16string_view piece) { return static_cast<double>(piece.size()); };
  for (const toolkit::TextLine& line : toolkit::BreakLines(text, width, centred, measure))
    out.emplace_back(text.substr(line.begin, line.length));
  return out;
}

using L = std::vector<std::u16string>;

TEST(TextLines, BreakAtBlanksOnlyAndCutWordsTooWideForTheLine) {
  const struct {
    std::u16string text;
    int width;
    bool centred;
    L lines;
  } cases[] = {
      {u"/home/user/music/a.mp3", 10, false, {u"/home/user", u"/music/a.m", u"p3"}},  // never after "/"
      {u"C:\\My Music\\a song.mp3", 12, false, {u"C:\\My ", u"Music\\a ", u"song.mp3"}},
      {u"C:\\My Music\\a song.mp3", 12, true, {u"C:\\My", u"Music\\a", u"song.mp3"}},
      {u"abc  de", 3, false, {u"abc ", u"de"}},  // one more blank dropped
      {u"短い 音楽ファイル", 4, false, {u"短い ", u"音楽ファ", u"イル"}},
      {u"abc", 0, false, {u"a", u"b", u"c"}},  // at least one character a line
      {u"one\r\ntwo\nthree\u2028", 10, false, {u"one", u"two", u"three"}},
      {u"a\n\nb", 10, false, {u"a", u"", u"b"}},
      {u"", 10, false, {u""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(c.text, c.width, c.centred), c.lines)
        << std::string(c.text.begin(), c.text.end()) << " in " << c.width;
  }
}

TEST(TextLines, OnlyTheFirstLineShowsCut) {
  // Lines of 16 pixels in boxes of various heights.
  const std::pair<int, int> heightShown[] = {{0, 1}, {10, 1}, {31, 2}, {32, 2}, {33, 2}, {47, 3}, {200, 3}};
  for (const auto& [height, shown] : heightShown) EXPECT_EQ(toolkit::VisibleLineCount(3, 16, height), shown) << height;
  EXPECT_EQ(toolkit::VisibleLineCount(0, 16, 100), 0);
}

}  // namespace
