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

  Lumora_S(toolkit::Application& app, music::Lumora_BGM& bgm, Screen screen = Screen::OwnWindow);

  // Makes the form with its caption and timers and loads it without
  // showing it.
  void LoadForm();

  void Load() override;
  void QueryUnload() override;

  void Timer1Tick();
  void Timer2Tick();
  void Timer3Tick();

  std::string RendererPath;

  toolkit::Timer* Timer1 = nullptr;
  toolkit::Timer* Timer2 = nullptr;
  toolkit::Timer* Timer3 = nullptr;

 private:
  bool RendererHadItsChance();

  toolkit::Application& app_;
  music::Lumora_BGM& bgm_;
  Screen screen_;
  std::unique_ptr<toolkit::Form> form_;
  std::unique_ptr<toolkit::Process> renderer_;
  bool rendererSeen_ = false;
  int ticksWithoutWindow_ = 0;
};

// The last three characters of the music file's name, upper-cased: "MP3",
// "WAV" or anything else.
std::string MusicFileType(std::string_view path);

}  // namespace saver
