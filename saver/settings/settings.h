#pragma once
// Tovarel.ini: one value at a time, and the load into the shared settings
// variables at start-up.
#include <functional>
#include <string>
#include <string_view>

#include "saver/settings/paths.h"
#include "saver/settings/settings_location.h"

namespace saver {

inline constexpr std::string_view kIniFileName = "Tovarel.ini";
inline constexpr std::string_view kIniSection = "Section";
inline constexpr std::string_view kKeyBgmKind = "BGM区分";
inline constexpr std::string_view kKeyBgmRepeat = "BGMﾘﾋﾟｰﾄ";
inline constexpr std::string_view kKeyBgmFile = "BGMﾌｧｲﾙ";

// The value, or "" when the file, the section or the key does not exist.
std::string ReadIni(std::string_view section, std::string_view key, const std::string& file);

// Creates the file, section or key as needed. False when nothing was written.
bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              const std::string& file);

// Where LoadSettings finds the file (see settings_location.h) and the music
// file.
struct SettingsPlace : SettingsLocation {
  std::function<std::string(std::string_view, std::string_view, const std::string&)> readIni =
      ReadIni;
  std::function<bool(const std::string&)> fileExists = FileExists;
};

// Fills BgmKind, BgmRepeat, BgmFile and BgmFolder. Never fails; the file is
// not changed.
void LoadSettings(const SettingsPlace& place);
void LoadSettings();

}  // namespace saver
