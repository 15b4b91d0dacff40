#pragma once
// Profile (INI) text with the rules of the Windows profile functions, over the
// file's bytes in code page 932: "[section]" lines and "key=value" lines.
// Names match case-insensitively for ASCII letters only; a byte inside a
// double-byte character is never folded. The first of duplicate sections and
// keys wins.
#include <optional>
#include <string>
#include <string_view>

namespace saver::ini {

bool SameName(std::string_view a, std::string_view b);

// The key's value with surrounding blanks and one pair of matching outer
// quotes removed; no value when the section or the key is missing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text with the key set to the value, written verbatim; every other byte
// is kept. No value when the names or the value cannot form profile lines
// (empty names, line breaks, NUL bytes, or a name that would read back as
// something else).
std::optional<std::string> SetValue(std::string_view text, std::string_view section,
                                    std::string_view key, std::string_view value);

}  // namespace saver::ini
