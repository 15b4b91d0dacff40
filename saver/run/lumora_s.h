#pragma once
// Lumora_S: the hidden form that holds a saver run. Its load starts the
// renderer and the music; its timers keep the music going and watch for the
// renderer's window; when that window is gone the music stops and the
// program ends.
#include <memory>
#include <string>

#include "saver/music/lumora_bgm.h"
#include "saver/toolkit/toolkit.h"

namespace saver {

inline constexpr std::string_view kRendererWindowTitle = "Lumora_VC";

class Lumora_S final : public toolkit::FormEvents {
 public:
  static constexpr int kTimer1Interval = 1000;
  static constexpr int kTimer2Interval = 200;
  static constexpr int kTimer3Interval = 500;
  // Ticks of Timer3 a renderer gets to open its window: 10 s.
  static constexpr int kStartWaitTicks = 20;
  // The screen the renderer switches to.
  static constexpr toolkit::Size kRendererScreen{1024, 768};
  // How long a renderer whose window has gone gets to finish its ending
  // (the display's mode back) before the host reads how it ended.
  static constexpr int kRendererEndWaitMs = 2000;

  // How the renderer shows the run.
  enum class Screen {
    // Its own full-screen window "Lumora_VC", watched by title.
    OwnWindow,
    // A window an idle daemon gave (a Linux desktop's xscreensaver): the
    // renderer is started for that window by the caller's set-up, the watch
    // follows this run's own renderer process (one runs per monitor), the
    // form has no title another copy's single-copy check would find, and
    // the pointer is left alone.
    DaemonWindow,
  };

  // Without music the run plays nothing and turns no music timer on: a
  // daemon's other copies while one plays, or its small preview.
  Lumora_S(toolkit::Application& app, music::Lumora_BGM& bgm, Screen screen = Screen::OwnWindow,
           bool withMusic = true);

  // Makes the form with its caption and timers and loads it without
  // showing it.
  void LoadForm();

  void Load() override;
  void QueryUnload() override;

  void Timer1Tick();
  void Timer2Tick();
  void Timer3Tick();
  // The renderer's process has ended: the run ends now, not at the next tick.
  void RendererEnded();

  std::string RendererPath;

  toolkit::Timer* Timer1 = nullptr;
  toolkit::Timer* Timer2 = nullptr;
  toolkit::Timer* Timer3 = nullptr;

 private:
  bool RendererHadItsChance();
  void EndRun();
  void ReapRenderer();

  toolkit::Application& app_;
  music::Lumora_BGM& bgm_;
  Screen screen_;
  bool withMusic_;
  std::unique_ptr<toolkit::Form> form_;
  std::unique_ptr<toolkit::Process> renderer_;
  bool rendererSeen_ = false;
  // The run ends because the renderer has gone (not a signal to the host).
  bool rendererGone_ = false;
  int ticksWithoutWindow_ = 0;
};

// The last three characters of the music file's name, upper-cased: "MP3",
// "WAV" or anything else.
std::string MusicFileType(std::string_view path);

}  // namespace saver
