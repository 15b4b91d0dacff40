#pragma once
// Tovarel.ini and the Windows "A" functions speak code page 932 (Shift-JIS);
// everything inside the program is UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace common {

// First byte of a double-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// No value when the text holds a character CP932 cannot represent: callers
// must not write a substitute in its place.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// No value when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// For text that is only read: each byte that cannot be decoded becomes U+FFFD.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

#ifdef _WIN32
// The system's ANSI code page, which the "A" functions use: 932 on the
// Japanese systems the program is made for.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8Lossy(std::string_view ansi);

// UTF-8 and the system's UTF-16, for the W functions. No value for bytes
// that are not UTF-8; a lone surrogate becomes U+FFFD.
std::optional<std::wstring> Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
#endif

}  // namespace common
