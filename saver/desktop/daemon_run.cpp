#include "saver/desktop/daemon_run.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "saver/desktop/screen_root.h"
#include "saver/music/lumora_bgm.h"
#include "saver/run/lumora_s.h"
#include "saver/settings/settings.h"
#include "saver/startup.h"
#include "x11/window_id.h"

namespace desktop {
namespace {

// The run lives until the program ends, after the entry has returned.
std::unique_ptr<music::Lumora_BGM> bgm;
std::unique_ptr<saver::Lumora_S> runForm;

void Complain(const std::string& text) { std::fprintf(stderr, "tovarel: %s\n", text.c_str()); }

// A daemon starts a copy per monitor, and its settings show a small
// preview: one copy per display plays, and never a preview.
bool PlaysMusic(toolkit::Application& app, unsigned long window) {
  const std::optional<toolkit::ScreenRect> rect = app.WindowRect(window);
  if (rect && (rect->Width() < kPreviewLimit.width || rect->Height() < kPreviewLimit.height)) return false;
  return app.Claim(kMusicClaim);
}

}  // namespace

bool StartDaemonRun(toolkit::Application& app, DrawTarget target) {
  const unsigned long window = target.root ? ScreenRootWindow() : target.window;
  if (window == 0) {
    Complain(target.root ? "no X display to draw on" : "no window to draw in");
    return false;
  }

  saver::SettingsPlace place;
  place.programFolder = app.ProgramFolder();
  saver::LoadSettings(place);
  const std::string renderer = saver::RendererFullPath(app.ProgramFolder());
  if (!saver::FileExists(renderer)) {
    Complain(std::string(saver::kRendererMissingMessage));
    return false;
  }

  // The renderer reads the window from its environment, as a hack would.
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", window);
  setenv(x11::kDaemonWindowVariable, id, 1);
  bgm = std::make_unique<music::Lumora_BGM>(music::SystemMci());
  runForm = std::make_unique<saver::Lumora_S>(app, *bgm, saver::Lumora_S::Screen::DaemonWindow,
                                              PlaysMusic(app, window));
  runForm->LoadForm();
  return true;
}

}  // namespace desktop
