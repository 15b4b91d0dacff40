#include "saver/modes.h"

#include <memory>

#include "saver/dialog/lumora_p.h"
#include "saver/music/lumora_bgm.h"
#include "saver/preview/lumora_r.h"
#include "saver/run/lumora_s.h"

namespace saver {
namespace {

// The forms live until the program ends, after Main has returned.
std::unique_ptr<Lumora_R> previewForm;
std::unique_ptr<music::Lumora_BGM> bgm;
std::unique_ptr<Lumora_S> runForm;

void LoadPreviewForm(toolkit::Application& app, std::int32_t host) {
  previewForm = std::make_unique<Lumora_R>(app);
  // Handles are 32-bit values, sign-extended as the system does.
  previewForm->Setup(static_cast<toolkit::WindowHandle>(static_cast<std::intptr_t>(host)));
}

void ShowSettingsDialog(toolkit::Application& app) {
  dialog::Lumora_P settings(app);
  settings.ShowModal();
}

void LoadRunForm(toolkit::Application& app) {
  bgm = std::make_unique<music::Lumora_BGM>(music::SystemMci());
  runForm = std::make_unique<Lumora_S>(app, *bgm);
  runForm->LoadForm();
}

}  // namespace

ModeEntries ProgramModes() {
  ModeEntries modes;
  modes.loadPreviewForm = LoadPreviewForm;
  modes.showSettingsDialog = ShowSettingsDialog;
  modes.loadRunForm = LoadRunForm;
  return modes;
}

}  // namespace saver
