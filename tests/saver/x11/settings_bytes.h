#pragma once
// Tovarel.ini as the settings dialog writes it: code page 932 key names,
// numbers with their sign position (a space for zero and positive values).
#include <string>

namespace testsupport {

inline std::string SignedText(int value) { return value < 0 ? std::to_string(value) : " " + std::to_string(value); }

// `file` is written as it is: ASCII paths only.
inline std::string SettingsBytes(int kind, int repeat, const std::string& file) {
  return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + SignedText(kind) + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + SignedText(repeat) +
         "\r\nBGM\xCC\xA7\xB2\xD9=" + file + "\r\n";
}

}  // namespace testsupport
