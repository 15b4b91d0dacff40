#include "tools/art/button_faces.h"

namespace art {
namespace {

constexpr int Right = ButtonFaceWidth - 1;
constexpr int Bottom = ButtonFaceHeight - 1;
// The side bands run from their value at row 4 to their value at row 20,
// the top and bottom rings along columns 4 to 59: the part the edge pieces
// stretch. The corners keep the end values.
constexpr int SideFrom = 4;
constexpr int SideTo = 20;
constexpr int EdgeFrom = 4;
constexpr int EdgeTo = 59;

struct Ramp {
  Rgb from;
  Rgb to;
};

// One ring of the frame, each side its own colour or ramp.
struct Ring {
  Ramp top;     // along the row, left to right
  Ramp left;    // down the column
  Ramp bottom;  // along the row
  Ramp right;   // down the column
};

Ramp Flat(Rgb c) { return {c, c}; }
Ring FlatRing(Rgb c) { return {Flat(c), Flat(c), Flat(c), Flat(c)}; }

double Along(int i, int from, int to) { return Clamp01(static_cast<double>(i - from) / (to - from)); }

Rgb RingColour(const Ring& ring, int depth, int x, int y) {
  const bool top = y == depth;
  const bool bottom = y == Bottom - depth;
  const bool left = x == depth;
  const bool right = x == Right - depth;
  const double across = Along(x, EdgeFrom, EdgeTo);
  const double down = Along(y, SideFrom, SideTo);
  Rgb horizontal;
  Rgb vertical;
  if (top) horizontal = Mix(ring.top.from, ring.top.to, across);
  if (bottom) horizontal = Mix(ring.bottom.from, ring.bottom.to, across);
  if (left) vertical = Mix(ring.left.from, ring.left.to, down);
  if (right) vertical = Mix(ring.right.from, ring.right.to, down);
  if ((top || bottom) && (left || right)) return Mix(horizontal, vertical, 0.5);  // a ring's corner
  return top || bottom ? horizontal : vertical;
}

// XP-like frames share the beige surround: darker where the light comes
// from (top, left), pale opposite.
const Ring Surround{{HexColour(0xDCD6C2), HexColour(0xE2DECB)},
                    {HexColour(0xDCD6C2), HexColour(0xE2DECB)},
                    Flat(HexColour(0xFAFAF6)),
                    Flat(HexColour(0xF0EEE0))};
const Rgb Navy = HexColour(0x003C74);
const Rgb Dialog = HexColour(0xECE9D8);

struct Frame {
  std::vector<Ring> rings;  // from the outside in; the rest is the centre
  int outline = 1;          // depth of the outline ring, whose corners are rounded
};

// A 2-pixel band: the top and bottom rows each their own colour, the sides
// one ramp for both columns.
std::vector<Ring> Band(Rgb top0, Rgb top1, Rgb bottom0, Rgb bottom1, Ramp left, Ramp right) {
  // Bottom rows 21 and 22 are listed top-down: row 22 (bottom0's partner)
  // lies at depth 2, row 21 at depth 3.
  return {Ring{Flat(top0), left, Flat(bottom1), right}, Ring{Flat(top1), left, Flat(bottom0), right}};
}

Frame FrameOf(ButtonLook look) {
  Frame frame;
  std::vector<Ring> band;
  switch (look) {
    case ButtonLook::Normal:
      band = Band(HexColour(0xF3F3EE), HexColour(0xF3F3EE), HexColour(0xE2DFD6), HexColour(0xD6D0C5),
                  {HexColour(0xFDFDFC), HexColour(0xECEBE6)}, {HexColour(0xFBFBFA), HexColour(0xE4E2DA)});
      break;
    case ButtonLook::HighLight:
    case ButtonLook::HighLightSelect: {
      const Ramp orange{HexColour(0xFEDF9A), HexColour(0xF9B435)};
      band = Band(HexColour(0xFFF0CF), HexColour(0xFDD889), HexColour(0xF8B330), HexColour(0xE59700), orange, orange);
      break;
    }
    case ButtonLook::Selected: {
      const Ramp blue{HexColour(0xB7D0F4), HexColour(0x8BADE4)};
      band = Band(HexColour(0xCEE7FF), HexColour(0xCEE7FF), HexColour(0x6982EE), HexColour(0x6982EE), blue, blue);
      break;
    }
    case ButtonLook::Pressed:
      frame.rings = {FlatRing(Dialog), Surround, FlatRing(Navy),
                     Ring{Flat(HexColour(0xD1CCC1)), Flat(HexColour(0xD7D4CB)), Flat(HexColour(0xF2F1EE)),
                          Flat(HexColour(0xE4E3DC))}};
      frame.outline = 2;
      return frame;
    case ButtonLook::Disable:
      frame.rings = {FlatRing(Dialog), FlatRing(HexColour(0xC9C7BA)), FlatRing(HexColour(0xF5F4EA)),
                     FlatRing(HexColour(0xF5F4EA))};
      return frame;
  }
  frame.rings = {Surround, FlatRing(Navy), band[0], band[1]};
  return frame;
}

int DepthOf(int x, int y) {
  int depth = x;
  if (y < depth) depth = y;
  if (Right - x < depth) depth = Right - x;
  if (Bottom - y < depth) depth = Bottom - y;
  return depth;
}

// The centre is never drawn; give it the band colours fading inwards, so
// the picture looks like a button face of its own.
Rgb CentreColour(const Frame& frame, int x, int y) {
  const int inner = static_cast<int>(frame.rings.size());
  const int last = inner - 1;
  const Rgb top = RingColour(frame.rings[last], last, x, last);
  const Rgb bottom = RingColour(frame.rings[last], last, x, Bottom - last);
  Rgb colour = Mix(top, bottom, Along(y, last, Bottom - last));
  const double fromLeft = x - last;
  const double fromRight = Right - last - x;
  const double leftWeight = 1.0 / ((1.0 + fromLeft) * (1.0 + fromLeft));
  const double rightWeight = 1.0 / ((1.0 + fromRight) * (1.0 + fromRight));
  colour = Mix(colour, RingColour(frame.rings[last], last, last, y), leftWeight);
  colour = Mix(colour, RingColour(frame.rings[last], last, Right - last, y), rightWeight);
  return colour;
}

// The outline's corner pixel takes the colour of the ring outside it, its
// two neighbours on the outline become half-way blends.
void RoundCorners(Image& image, int outline) {
  const int d = outline;
  const int corners[4][2] = {{d, d}, {Right - d, d}, {d, Bottom - d}, {Right - d, Bottom - d}};
  for (const auto& corner : corners) {
    const int cx = corner[0];
    const int cy = corner[1];
    const int inX = cx < ButtonFaceWidth / 2 ? 1 : -1;
    const int inY = cy < ButtonFaceHeight / 2 ? 1 : -1;
    const Rgb outside = image.At(cx - inX, cy - inY);
    const Rgb line = image.At(cx + inX, cy);
    image.At(cx, cy) = outside;
    // A touch of the outline on the band's corner completes the curve.
    image.At(cx + inX, cy + inY) = Mix(image.At(cx + inX, cy + inY), line, 0.25);
    image.At(cx + inX, cy) = Mix(line, Mix(image.At(cx + inX, cy - inY), outside, 0.5), 0.5);
    image.At(cx, cy + inY) = Mix(image.At(cx, cy + inY), Mix(image.At(cx - inX, cy + inY), outside, 0.5), 0.5);
  }
}

}  // namespace

Rgb HexColour(unsigned rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

Image MakeButtonFace(ButtonLook look) {
  const Frame frame = FrameOf(look);
  Image image(ButtonFaceWidth, ButtonFaceHeight);
  for (int y = 0; y < ButtonFaceHeight; ++y) {
    for (int x = 0; x < ButtonFaceWidth; ++x) {
      const int depth = DepthOf(x, y);
      image.At(x, y) = depth < static_cast<int>(frame.rings.size()) ? RingColour(frame.rings[depth], depth, x, y)
                                                                    : CentreColour(frame, x, y);
    }
  }
  RoundCorners(image, frame.outline);
  return image;
}

}  // namespace art
