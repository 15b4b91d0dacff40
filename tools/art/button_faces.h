#pragma once
// The push button's six state pictures, 64 x 25: a 1-pixel outer ring, a
// 1-pixel dark outline and a 2-pixel inner band in the state's colours
// (Pressed sits one pixel further in, behind an extra ring), with rounded
// corners. Only the outer 4 pixels are ever drawn; the centre is filled
// with the band colours fading inwards.
#include "tools/art/image.h"

namespace art {

constexpr int ButtonFaceWidth = 64;
constexpr int ButtonFaceHeight = 25;

enum class ButtonLook { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

Image MakeButtonFace(ButtonLook look);

// 0xRRGGBB to a colour of the generator.
Rgb HexColour(unsigned rgb);

}  // namespace art
