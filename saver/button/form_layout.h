#pragma once
// A form's stored layout: a readable text, embedded in the program, that
// names each control's class and holds its placement and stored entries.
//
//   Begin Lumora.Command Cmd_Set
//      Left = 4860
//      Top = 3000
//      Width = 1155
//      Height = 375
//      Caption = "設定"
//      BeginProperty Font
//         Name = "ＭＳ Ｐゴシック"
//         Size = 9.75
//         ...
//      EndProperty
//   End
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "saver/button/property_bag.h"

namespace button {

struct ControlLayout {
  std::string className;
  std::string name;
  // Placement in the container, in twips.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  PropertyBag properties;
};

// Lines that do not fit the format are skipped; a control without its End
// is dropped.
std::vector<ControlLayout> ParseLayout(std::string_view text);
std::string WriteLayout(const std::vector<ControlLayout>& controls);

const ControlLayout* FindControl(const std::vector<ControlLayout>& controls, std::string_view name);

}  // namespace button
