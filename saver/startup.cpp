#include "saver/startup.h"

#include <optional>

#include "saver/common/vb_number.h"
#include "saver/settings/paths.h"
#include "saver/settings/settings.h"

namespace saver {
namespace {

// Byte offset of the character with the given 0-based index in UTF-8 text,
// or the text's size when it has fewer characters.
size_t CharacterOffset(std::string_view text, size_t index) {
  size_t offset = 0;
  for (size_t seen = 0; offset < text.size() && seen < index; ++seen) {
    ++offset;
    while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) {
      ++offset;
    }
  }
  return offset;
}

// The claim a mode holds, if any: the modes whose windows the single-copy
// check looks for.
std::string_view ClaimOf(std::string_view letter, std::string_view commandLine) {
  if (letter == "S" || commandLine.empty()) return kRunClaim;
  if (letter == "C") return kSettingsClaim;
  return {};
}

}  // namespace

std::string RendererFullPath(std::string_view programFolder) {
  return std::string(programFolder) + PathSeparator(kNativePathSyntax) + std::string(kRendererFileName);
}

std::string ModeLetter(std::string_view commandLine) {
  size_t begin = CharacterOffset(commandLine, 1);
  size_t end = CharacterOffset(commandLine, 2);
  std::string letter(commandLine.substr(begin, end - begin));
  if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z') letter[0] -= 'a' - 'A';
  return letter;
}

std::int32_t PreviewHostHandle(std::string_view commandLine) {
  double number = common::ReadLeadingNumber(commandLine.substr(CharacterOffset(commandLine, 3)));
  return common::RoundToInteger32(number).value_or(0);
}

void Main(toolkit::Application& app, const ModeEntries& modes) {
  const std::string commandLine = app.CommandLine();
  const std::string letter = ModeLetter(commandLine);
  // Two copies started together both pass the title check before either has
  // its window; the claim lets one through.
  const std::string_view claim = ClaimOf(letter, commandLine);
  if ((!claim.empty() && !app.Claim(claim)) || app.WindowExists(kRunWindowTitle) ||
      app.WindowExists(kDialogWindowTitle)) {
    app.EndProgram();
    return;
  }
  if (letter == "P") {
    if (modes.loadPreviewForm) modes.loadPreviewForm(app, PreviewHostHandle(commandLine));
    return;
  }

  SettingsPlace place;
  place.programFolder = app.ProgramFolder();
  LoadSettings(place);

  const std::string renderer = RendererFullPath(app.ProgramFolder());
  if (!FileExists(renderer)) {
    app.ShowMessageBox(kRendererMissingMessage, kProgramTitle);
    app.EndProgram();
    return;
  }

  if (letter == "C") {
    if (modes.showSettingsDialog) modes.showSettingsDialog(app);
    app.EndProgram();
    return;
  }
  if (letter != "S" && !commandLine.empty()) {
    app.EndProgram();
    return;
  }
  if (letter == "S") app.ShowCursor(false);
  if (modes.loadRunForm) modes.loadRunForm(app);
}

}  // namespace saver
