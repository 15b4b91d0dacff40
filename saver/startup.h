#pragma once
// Main: the single-copy check, the mode letter and the hand-over to the
// preview, the settings dialog or the saver run.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "saver/toolkit/toolkit.h"

namespace saver {

inline constexpr std::string_view kProgramTitle = "Tovarel (ScreenSaver)";
inline constexpr std::string_view kRunWindowTitle = "Lumora_Main";
inline constexpr std::string_view kDialogWindowTitle = "<Tovarel>";
// Claims held for the whole life of a run and of an open settings dialog.
inline constexpr std::string_view kRunClaim = "_TOVAREL_RUN";
inline constexpr std::string_view kSettingsClaim = "_TOVAREL_SETTINGS";
inline constexpr std::string_view kRendererFileName = "Tovarel.dll";
inline constexpr std::string_view kRendererMissingMessage =
    "Tovarel.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// The renderer's full path: it is always the one in the program's own folder.
std::string RendererFullPath(std::string_view programFolder);

// The second character of the command line, upper-cased; empty when the
// command line is shorter than two characters.
std::string ModeLetter(std::string_view commandLine);

// The command line from its fourth character on, read as a number and
// rounded to a 32-bit handle; 0 when there is no number.
std::int32_t PreviewHostHandle(std::string_view commandLine);

// What each mode starts. Filled in by the forms of the run, the preview and
// the settings dialog.
struct ModeEntries {
  std::function<void(toolkit::Application&, std::int32_t host)> loadPreviewForm;
  std::function<void(toolkit::Application&)> showSettingsDialog;  // returns when closed
  std::function<void(toolkit::Application&)> loadRunForm;
};

void Main(toolkit::Application& app, const ModeEntries& modes);

}  // namespace saver
