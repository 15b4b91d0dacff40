#pragma once
// UTF-8 program text to and from the system's UTF-16, for the W functions
// that show text.
#include <string>
#include <string_view>

namespace toolkit::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace toolkit::win32
