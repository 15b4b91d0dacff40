#pragma once
// What the settings dialog keeps inside the program: its layout text, the
// two marker pictures (JPEG), the hand pointer (CUR) and its icon (ICO).
#include <span>
#include <string_view>

namespace dialog::resources {

std::string_view LayoutText();
std::span<const unsigned char> Marker(bool selected);
std::span<const unsigned char> HandCursor();
std::span<const unsigned char> Icon();

}  // namespace dialog::resources
