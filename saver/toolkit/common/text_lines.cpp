#include "saver/toolkit/common/text_lines.h"

#include <algorithm>

namespace toolkit {
namespace {

constexpr char16_t kBlank = u' ';

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n' || c == u'\u2028'; }

// One paragraph (no line breaks inside) into lines.
void BreakParagraph(std::u16string_view text, std::size_t offset, int width, bool centred,
                    const MeasureText& measure, std::vector<TextLine>& lines) {
  std::size_t start = 0;
  do {
    const std::u16string_view rest = text.substr(start);
    if (measure(rest) <= width) {
      lines.push_back({offset + start, rest.size()});
      return;
    }
    // The most characters that fit; the one after them does not.
    std::size_t low = 0, high = rest.size() - 1;
    while (low < high) {
      const std::size_t mid = (low + high + 1) / 2;
      if (measure(rest.substr(0, mid)) <= width) low = mid;
      else high = mid - 1;
    }
    const std::size_t fit = low;
    std::size_t at = fit;
    bool wordFits = fit > 0;
    if (wordFits && rest[at] != kBlank) {
      while (at > 0 && rest[--at] != kBlank) {
      }
      wordFits = at != 0 || rest[at] == kBlank;
    }
    std::size_t length = 0, used = 0;
    if (wordFits) {
      if (!centred || rest[at] != kBlank) ++at;
      length = used = at;
      if (at < rest.size() && rest[at] == kBlank) ++used;
    } else {
      length = used = std::max<std::size_t>(fit, 1);
    }
    lines.push_back({offset + start, length});
    start += used;
  } while (start < text.size());
}

}  // namespace

std::vector<TextLine> BreakLines(std::u16string_view text, int width, bool centred, const MeasureText& measure) {
  std::vector<TextLine> lines;
  std::size_t begin = 0;
  for (;;) {
    std::size_t end = begin;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    if (end == begin) lines.push_back({begin, 0});
    else BreakParagraph(text.substr(begin, end - begin), begin, width, centred, measure, lines);
    if (end == text.size()) break;
    begin = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
    if (begin == text.size()) break;  // a final line break opens no line
  }
  return lines;
}

int VisibleLineCount(int lineCount, int lineHeight, int height) {
  int shown = std::min(lineCount, 1);
  while (shown < lineCount && (shown + 1) * lineHeight <= height + 1) ++shown;
  return shown;
}

}  // namespace toolkit
