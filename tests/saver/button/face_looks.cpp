#include "tests/saver/button/face_looks.h"

namespace button::faces {
namespace {

const toolkit::Font kDialogFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};

toolkit::MouseEvent Left() { return {toolkit::LeftButton, 0, 5, 5}; }

}  // namespace

const std::vector<FaceCase>& FaceCases() {
  static const std::vector<FaceCase> cases = {
      {"normal", [](Command&) {}},
      {"highlight", [](Command& c) { c.MouseMove({}); }},
      {"selected", [](Command& c) { c.GotFocus(); }},
      // Moved in once focused: the gradient of Selected, white at the top.
      {"highlightselect",
       [](Command& c) {
         c.GotFocus();
         c.MouseMove({});
       }},
      // Hovered, then clicked: the focus paints Pressed, the release
      // HighLightSelect with HighLight's gradient, lavender at the top.
      {"highlightselect_reversed",
       [](Command& c) {
         c.MouseMove({});
         c.GotFocus();
         c.MouseDown(Left());
         c.MouseUp(Left());
       }},
      {"pressed",
       [](Command& c) {
         c.MouseMove({});
         c.MouseDown(Left());
       }},
      {"disable", [](Command& c) { c.SetEnabled(false); }},
  };
  return cases;
}

std::string FaceFileName(const std::string& name, int widthPixels, int heightPixels) {
  return "face_" + name + "_" + std::to_string(widthPixels) + "x" + std::to_string(heightPixels) + ".bmp";
}

std::unique_ptr<Command> MakeFaceButton(toolkit::Application& app, toolkit::Container& container,
                                        const FaceSize& size, const std::string& caption) {
  auto command = std::make_unique<Command>(app, container);
  ControlLayout layout;
  layout.className = std::string(kClassName);
  layout.name = "Cmd_Face";
  layout.left = 0;
  layout.top = 0;
  layout.width = size.widthTwips;
  layout.height = size.heightTwips;
  layout.properties.Set("Caption", caption);
  layout.properties.Set("Font", kDialogFont);
  command->LoadFromLayout(layout, kDialogFont);
  command->State = Command::StateNormal;
  return command;
}

}  // namespace button::faces
