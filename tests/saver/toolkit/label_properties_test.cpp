// Where a label's caption breaks into lines for its auto-size: at CR LF,
// LF or CR, each one break.
#include <gtest/gtest.h>

#include "saver/toolkit/common/label_properties.h"

namespace {

TEST(LabelProperties, CaptionLinesBreakAtEachKindOfLineEnd) {
  struct Case {
    std::string caption;
    std::vector<std::string_view> lines;
  };
  const Case cases[] = {
      {"", {""}},
      {"MP3、WAV", {"MP3、WAV"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\n", {"a", ""}},
      {"\r\r\n", {"", "", ""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(toolkit::LabelProperties::Lines(c.caption), c.lines) << testing::PrintToString(c.caption);
}

}  // namespace
