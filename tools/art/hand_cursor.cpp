#include "tools/art/hand_cursor.h"

#include <cstddef>

namespace art {
namespace {

// Drawn pixel by pixel, as small cursors are: '#' outline, 'o' fill, '.'
// clear. The index finger points up with its tip on (12, 10); the other
// fingers are curled, their knuckles stepping down to the right, and the
// thumb lies along the lower left.
constexpr const char* Hand[CursorSize] = {
    "................................",  //  0
    "................................",  //  1
    "................................",  //  2
    "................................",  //  3
    "................................",  //  4
    "................................",  //  5
    "................................",  //  6
    "................................",  //  7
    "................................",  //  8
    "................................",  //  9
    "...........###..................",  // 10
    "..........#ooo#.................",  // 11
    "..........#ooo#.................",  // 12
    "..........#ooo#.................",  // 13
    "..........#ooo#.................",  // 14
    "..........#ooo####..............",  // 15
    "..........#ooo#ooo####..........",  // 16
    "..........#ooo#ooo#ooo###.......",  // 17
    "..........#ooo#ooo#ooo#oo#......",  // 18
    "....##....#ooo#ooo#ooo#oo#......",  // 19
    "...#oo#...#ooooooooooooooo#.....",  // 20
    "...#ooo#..#ooooooooooooooo#.....",  // 21
    "....#ooo#.#ooooooooooooooo#.....",  // 22
    ".....#ooo##ooooooooooooooo#.....",  // 23
    "......#oooooooooooooooooo#......",  // 24
    ".......#ooooooooooooooooo#......",  // 25
    "........#ooooooooooooooo#.......",  // 26
    ".........#oooooooooooooo#.......",  // 27
    ".........#oooooooooooooo#.......",  // 28
    ".........################.......",  // 29
    "................................",  // 30
    "................................",  // 31
};

}  // namespace

CursorPicture MakeHandCursor() {
  CursorPicture picture{};
  for (int y = 0; y < CursorSize; ++y) {
    for (int x = 0; x < CursorSize; ++x) {
      const char c = Hand[y][x];
      picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] =
          c == '#' ? CursorPixel::Black : (c == 'o' ? CursorPixel::White : CursorPixel::Clear);
    }
  }
  return picture;
}

}  // namespace art
