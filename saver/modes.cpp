#include "saver/modes.h"

namespace saver {
namespace {

// The preview form Lumora_R, made a child of the host window: not built yet.
void LoadPreviewForm(toolkit::Application&, std::int32_t) {}

// The settings dialog Lumora_P, shown modally: not built yet.
void ShowSettingsDialog(toolkit::Application&) {}

// The hidden run form Lumora_S, whose load starts the renderer and the
// music: not built yet.
void LoadRunForm(toolkit::Application&) {}

}  // namespace

ModeEntries ProgramModes() {
  ModeEntries modes;
  modes.loadPreviewForm = LoadPreviewForm;
  modes.showSettingsDialog = ShowSettingsDialog;
  modes.loadRunForm = LoadRunForm;
  return modes;
}

}  // namespace saver
