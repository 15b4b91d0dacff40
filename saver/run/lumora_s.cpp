#include "saver/run/lumora_s.h"

#include "saver/settings_vars.h"
#include "saver/startup.h"

namespace saver {

std::string MusicFileType(std::string_view path) {
  std::string type(path.substr(path.size() < 3 ? 0 : path.size() - 3));
  for (char& c : type) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return type;
}

Lumora_S::Lumora_S(toolkit::Application& app, music::Lumora_BGM& bgm, Screen screen, bool withMusic)
    : app_(app), bgm_(bgm), screen_(screen), withMusic_(withMusic) {}

void Lumora_S::LoadForm() {
  form_ = app_.CreateForm(*this);
  if (screen_ == Screen::OwnWindow) form_->SetCaption(kRunWindowTitle);
  form_->Load();
}

void Lumora_S::Load() {
  Timer1 = &form_->AddTimer(kTimer1Interval, false, [this] { Timer1Tick(); });
  Timer2 = &form_->AddTimer(kTimer2Interval, false, [this] { Timer2Tick(); });
  Timer3 = &form_->AddTimer(kTimer3Interval, true, [this] { Timer3Tick(); });

  RendererPath = RendererFullPath(app_.ProgramFolder());
  // A renderer killed outright cannot put the desktop's mode back itself.
  if (screen_ == Screen::OwnWindow) app_.NoteDisplayMode();
  renderer_ = app_.StartProgram(RendererPath);
  if (renderer_) renderer_->NotifyEnd([this] { RendererEnded(); });

  if (!withMusic_) return;
  if (BgmKind == 1) {
    bgm_.OpenCd();
    Timer2->SetEnabled(true);
  }
  if (BgmKind == 2) {
    const std::string type = MusicFileType(BgmFile);
    if (type == "WAV") bgm_.PlayWav();
    if (type == "MP3") {
      bgm_.PlayMp3();
      Timer1->SetEnabled(true);
    }
  }
}

void Lumora_S::Timer1Tick() { bgm_.RepeatMp3(); }

void Lumora_S::Timer2Tick() {
  bgm_.PollCd();
  Timer2->SetEnabled(bgm_.CdPolling != music::Lumora_BGM::False);
}

// A cold renderer on a loaded machine needs more than one tick to open its
// window: the watch waits for it unless it is known not to come.
bool Lumora_S::RendererHadItsChance() {
  if (rendererSeen_) return true;
  if (!renderer_ || !renderer_->Running()) return true;
  return ++ticksWithoutWindow_ >= kStartWaitTicks;
}

void Lumora_S::Timer3Tick() {
  if (screen_ == Screen::DaemonWindow) {
    if (renderer_ && renderer_->Running()) return;
    EndRun();
    return;
  }
  if (app_.WindowExists(kRendererWindowTitle)) {
    rendererSeen_ = true;
    return;
  }
  if (!RendererHadItsChance()) return;
  EndRun();
}

void Lumora_S::RendererEnded() {
  if (Timer3 != nullptr && Timer3->Enabled()) EndRun();
}

void Lumora_S::EndRun() {
  rendererGone_ = true;
  Timer3->SetEnabled(false);
  form_->Unload();
}

// Waits for the renderer once its window is gone. One that could not end
// by itself (killed, crashed past its own guard; a process killed outright
// may even report code 0) left the display in its mode: put back what the
// desktop had. While the renderer still runs (the host itself is being
// ended) it is left to end with its host and restore for itself.
void Lumora_S::ReapRenderer() {
  if (!renderer_ || !rendererGone_) return;
  if (!renderer_->WaitForEnd(kRendererEndWaitMs)) return;
  if (screen_ == Screen::OwnWindow) app_.RestoreDisplayMode(kRendererScreen);
}

void Lumora_S::QueryUnload() {
  if (Timer2->Enabled()) {
    Timer2->SetEnabled(false);
    bgm_.StopCd();
  }
  if (BgmKind == 2 && withMusic_) {
    const std::string type = MusicFileType(BgmFile);
    if (type == "WAV") bgm_.StopWav();
    if (type == "MP3") {
      Timer1->SetEnabled(false);
      bgm_.StopMp3();
    }
  }
  ReapRenderer();
  if (screen_ == Screen::OwnWindow && ModeLetter(app_.CommandLine()) == "S") app_.ShowCursor(true);
  app_.EndProgram();
}

}  // namespace saver
