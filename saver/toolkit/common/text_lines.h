#pragma once
// How a label's caption falls into lines, as the Windows build draws it
// (DrawText with word breaks, edit-control style): the backend only measures.
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace toolkit {

struct TextLine {
  std::size_t begin = 0;
  std::size_t length = 0;
};

// Width of a piece of text in pixels, as the backend draws it.
using MeasureText = std::function<double(std::u16string_view)>;

// Lines break at line breaks (CR, LF, CR LF, U+2028) and at blanks only; a
// word wider than the line is cut after its last character that fits (at
// least one). The blank a line breaks at stays on a left-aligned line and is
// dropped from a centred one; one more blank after it is dropped.
std::vector<TextLine> BreakLines(std::u16string_view text, int width, bool centred, const MeasureText& measure);

// Lines a box of `height` shows: the first always, each further one only
// where it fits (to within one pixel).
int VisibleLineCount(int lineCount, int lineHeight, int height);

}  // namespace toolkit
