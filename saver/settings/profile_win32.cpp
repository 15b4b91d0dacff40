#include <windows.h>

#include <optional>

#include "saver/common/code_page.h"
#include "saver/settings/profile.h"

namespace saver {

std::string GetProfileText(std::string_view section, std::string_view key,
                           const std::string& file) {
  std::optional<std::string> sectionA = common::Utf8ToAnsi(section);
  std::optional<std::string> keyA = common::Utf8ToAnsi(key);
  std::optional<std::string> fileA = common::Utf8ToAnsi(file);
  if (!sectionA || !keyA || !fileA) return {};
  char buffer[kProfileValueBytes + 1] = {};
  GetPrivateProfileStringA(sectionA->c_str(), keyA->c_str(), "", buffer, sizeof buffer,
                           fileA->c_str());
  buffer[kProfileValueBytes] = '\0';
  return common::AnsiToUtf8Lossy(buffer);
}

bool PutProfileText(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file) {
  std::optional<std::string> sectionA = common::Utf8ToAnsi(section);
  std::optional<std::string> keyA = common::Utf8ToAnsi(key);
  std::optional<std::string> valueA = common::Utf8ToAnsi(value);
  std::optional<std::string> fileA = common::Utf8ToAnsi(file);
  if (!sectionA || !keyA || !valueA || !fileA || sectionA->empty() || keyA->empty()) return false;
  // A line break in the value would forge further lines in the file.
  if (valueA->find_first_of("\r\n") != std::string::npos) return false;
  return WritePrivateProfileStringA(sectionA->c_str(), keyA->c_str(), valueA->c_str(),
                                    fileA->c_str()) != FALSE;
}

bool ProfileCanHold(std::string_view text) {
  const std::optional<std::string> bytes = common::Utf8ToAnsi(text);
  return bytes && bytes->size() <= kProfileValueBytes;
}

}  // namespace saver
