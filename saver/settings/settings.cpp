#include "saver/settings/settings.h"

#include <optional>

#include "saver/common/program_folder.h"
#include "saver/common/vb_number.h"
#include "saver/settings/profile.h"
#include "saver/settings_vars.h"

namespace saver {
namespace {

// Section and key names pass through fields of 128 UTF-16 units ending in a
// zero; a character is never split.
std::string_view CutName(std::string_view utf8) {
  constexpr size_t kUnits = 127;
  size_t units = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    size_t width = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    size_t needed = width == 4 ? 2 : 1;
    if (units + needed > kUnits || i + width > utf8.size()) break;
    units += needed;
    i += width;
  }
  return utf8.substr(0, i);
}

// Empty text is 0; text that is no 16-bit number leaves the variable alone.
void ReadInteger16Into(std::int16_t& variable, const std::string& text) {
  if (text.empty()) {
    variable = 0;
    return;
  }
  if (std::optional<std::int16_t> value = common::ReadInteger16(text)) variable = *value;
}


}  // namespace

std::string ReadIni(std::string_view section, std::string_view key, const std::string& file) {
  return GetProfileText(section, key, file);
}

bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              const std::string& file) {
  return PutProfileText(CutName(section), CutName(key), value, file);
}

void LoadSettings(const SettingsPlace& place) {
  ReadInteger16Into(BgmKind, place.readIni(kIniSection, kKeyBgmKind, IniFileToRead(place)));
  ReadInteger16Into(BgmRepeat, place.readIni(kIniSection, kKeyBgmRepeat, IniFileToRead(place)));

  std::string file = place.readIni(kIniSection, kKeyBgmFile, IniFileToRead(place));
  if (!file.empty() && !place.fileExists(file)) file.clear();
  BgmFile = file;
  if (BgmFile.empty() && BgmKind == 2) BgmKind = 0;

  BgmFolder = BgmFile.empty() ? place.programFolder : FolderOf(BgmFile, place.syntax);
}

void LoadSettings() {
  SettingsPlace place;
  place.programFolder = common::ProgramFolder();
  LoadSettings(place);
}

}  // namespace saver
