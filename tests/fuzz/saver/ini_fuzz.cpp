// Hostile profile files: reading never crashes, and a write into any file
// reads back as written without disturbing the first section's other keys.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "saver/settings/ini_text.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Expected(std::string_view value) {
  value = Trimmed(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // Layout: section \x01 key \x01 value \x01 file text. Missing parts are fixed names.
  std::string_view parts[3] = {"Section", "BGM\x8B\xE6\x95\xAA", " 2"};
  for (std::string_view& part : parts) {
    size_t cut = input.find('\x01');
    if (cut == std::string_view::npos) break;
    part = input.substr(0, cut);
    input.remove_prefix(cut + 1);
  }
  auto [section, key, value] = parts;

  std::optional<std::string> before = saver::ini::FindValue(input, section, key);
  std::optional<std::string> other = saver::ini::FindValue(input, section, "other");
  std::optional<std::string> written = saver::ini::SetValue(input, section, key, value);
  if (!written) return 0;
  if (saver::ini::FindValue(*written, section, key) != Expected(value)) std::abort();
  if (!saver::ini::SameName(key, "other") &&
      saver::ini::FindValue(*written, section, "other") != other) {
    std::abort();
  }
  (void)before;
  return 0;
}
