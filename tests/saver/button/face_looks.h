#pragma once
// The button faces that the golden references hold: each look of Command
// at the dialog's two button sizes, reached through the control's own
// events from a freshly loaded, enabled button with an empty caption. The
// Linux reference maker and the Windows build's face program drive the
// same steps, so their faces must agree pixel for pixel.
#include <memory>
#include <string>
#include <vector>

#include "saver/button/command.h"

namespace button::faces {

struct FaceSize {
  int widthTwips;
  int heightTwips;
};

// Cmd_Set and Cmd_Can (77 x 25 pixels), Cmd_File(0) (41 x 21 pixels).
inline constexpr FaceSize kFaceSizes[] = {{1155, 375}, {615, 315}};

struct FaceCase {
  const char* name;
  void (*drive)(Command& command);
};

// normal, highlight, selected, highlightselect (white at the top),
// highlightselect_reversed (lavender at the top), pressed, disable.
const std::vector<FaceCase>& FaceCases();

// "face_<name>_<w>x<h>.bmp", the size in pixels.
std::string FaceFileName(const std::string& name, int widthPixels, int heightPixels);

// A button in `container` loaded as the dialog loads its own (stored
// caption and font, then sized), with State 1 as Initialize leaves it but
// without its hover timer, which would end a hover behind the test's back.
std::unique_ptr<Command> MakeFaceButton(toolkit::Application& app, toolkit::Container& container,
                                        const FaceSize& size, const std::string& caption);

}  // namespace button::faces
