#include <algorithm>
#include <optional>

#include "saver/common/code_page.h"
#include "saver/settings/ini_file.h"
#include "saver/settings/ini_text.h"
#include "saver/settings/profile.h"

namespace saver {
namespace {

// Cut to the byte limit without splitting a double-byte character, and at
// the first NUL byte as the C string the system call hands back would be.
std::string_view LimitValue(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  size_t keep = 0;
  while (keep < value.size()) {
    size_t width = common::IsCp932LeadByte(static_cast<unsigned char>(value[keep])) ? 2 : 1;
    if (keep + width > kProfileValueBytes) break;
    keep = std::min(keep + width, value.size());  // a stray lead byte at the end stays
  }
  return value.substr(0, keep);
}

}  // namespace

std::string GetProfileText(std::string_view section, std::string_view key,
                           const std::string& file) {
  std::optional<std::string> sectionBytes = common::Utf8ToCp932(section);
  std::optional<std::string> keyBytes = common::Utf8ToCp932(key);
  if (!sectionBytes || !keyBytes) return {};
  ini::FileContent content = ini::LoadFile(file);
  if (content.state != ini::FileState::Loaded) return {};
  std::optional<std::string> value = ini::FindValue(content.bytes, *sectionBytes, *keyBytes);
  if (!value) return {};
  return common::Cp932ToUtf8Lossy(LimitValue(*value));
}

bool PutProfileText(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file) {
  std::optional<std::string> sectionBytes = common::Utf8ToCp932(section);
  std::optional<std::string> keyBytes = common::Utf8ToCp932(key);
  std::optional<std::string> valueBytes = common::Utf8ToCp932(value);
  if (!sectionBytes || !keyBytes || !valueBytes) return false;
  ini::FileContent content = ini::LoadFile(file);
  if (content.state == ini::FileState::Unreadable) return false;  // keep what is there
  std::optional<std::string> updated =
      ini::SetValue(content.bytes, *sectionBytes, *keyBytes, *valueBytes);
  if (!updated) return false;
  if (content.state == ini::FileState::Loaded && *updated == content.bytes) return true;
  return ini::SaveFile(file, *updated);
}

bool ProfileCanHold(std::string_view text) {
  const std::optional<std::string> bytes = common::Utf8ToCp932(text);
  return bytes && bytes->size() <= kProfileValueBytes;
}

}  // namespace saver
