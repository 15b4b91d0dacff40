#include "saver/run/lumora_s.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "saver/settings_vars.h"
#include "tests/saver/music/recording_mci.h"
#include "tests/saver/support/fake_toolkit.h"

namespace {

using music::test::RecordingMci;
using testsupport::FakeApplication;

constexpr const char* kFolder = "/opt/tovarel";
constexpr const char* kRenderer = "/opt/tovarel/Tovarel.dll";

struct SaverRun {
  FakeApplication app;
  RecordingMci mci;
  music::Lumora_BGM bgm{mci};
  saver::Lumora_S form{app, bgm};
  testsupport::FakeForm* fakeForm = nullptr;

  SaverRun(std::int16_t kind, std::string file, std::string commandLine = "/s", bool startable = true) {
    saver::BgmKind = kind;
    saver::BgmFile = std::move(file);
    saver::BgmRepeat = 0;
    app.commandLine = std::move(commandLine);
    app.programFolder = kFolder;
    if (startable) app.startablePrograms.insert(kRenderer);
    form.LoadForm();
    fakeForm = app.FormTitled("Lumora_Main");
  }
  testsupport::FakeTimer& Timer(int n) { return *fakeForm->timers.at(static_cast<std::size_t>(n - 1)); }
  void RendererWindow(bool exists) {
    if (exists) app.windows.insert("Lumora_VC");
    else app.windows.erase("Lumora_VC");
  }
  // Ticks of the watch until the program has ended; -1 if it never does.
  int TicksToEnd(int limit) {
    for (int tick = 1; tick <= limit; ++tick) {
      Timer(3).Fire();
      if (app.ended) return tick;
    }
    return -1;
  }
};

struct MusicCase {
  const char* name;
  std::int16_t kind;
  std::string file;
  std::vector<std::string> loadCommands;
  std::vector<std::string> stopCommands;
  bool mp3Timer;
  bool cdTimer;
  std::vector<std::string> sounds;  // PlaySoundA files, load then stop
};
void PrintTo(const MusicCase& c, std::ostream* os) {
  *os << c.name;
}


class RunMusic : public testing::TestWithParam<MusicCase> {};

std::vector<std::string> Sounds(const RecordingMci& mci) {
  std::vector<std::string> out;
  for (const auto& c : mci.calls) {
    if (c.what == "sound") out.push_back(c.text + "/" + std::to_string(c.flags));
  }
  return out;
}

TEST_P(RunMusic, StartsAndStopsTheChosenMusic) {
  const MusicCase& c = GetParam();
  SaverRun run(c.kind, c.file);
  ASSERT_NE(run.fakeForm, nullptr);
  EXPECT_TRUE(run.fakeForm->Loaded());
  EXPECT_FALSE(run.fakeForm->shown) << "the run form is never shown";
  EXPECT_EQ(run.form.RendererPath, kRenderer);
  EXPECT_TRUE(run.app.started.count(kRenderer));
  EXPECT_EQ(run.mci.Commands(), c.loadCommands);
  EXPECT_EQ(run.Timer(1).Enabled(), c.mp3Timer);
  EXPECT_EQ(run.Timer(2).Enabled(), c.cdTimer);
  EXPECT_TRUE(run.Timer(3).Enabled());
  EXPECT_EQ(run.Timer(1).Interval(), 1000);
  EXPECT_EQ(run.Timer(2).Interval(), 200);
  EXPECT_EQ(run.Timer(3).Interval(), 500);

  run.mci.calls.clear();
  run.RendererWindow(true);
  run.Timer(3).Fire();
  run.RendererWindow(false);
  EXPECT_EQ(run.TicksToEnd(1), 1);
  EXPECT_EQ(run.mci.Commands(), c.stopCommands);
  EXPECT_FALSE(run.Timer(1).Enabled());
  EXPECT_FALSE(run.Timer(2).Enabled());
  EXPECT_FALSE(run.Timer(3).Enabled());
  EXPECT_EQ(run.app.log.back(), "end");
  EXPECT_TRUE(run.app.logger.Contains("cursor show"));
}

const std::string kOpenMp3 = "open \"C:\\m\\song.Mp3\" type MPEGVideo Alias MP3Play";

INSTANTIATE_TEST_SUITE_P(
    Kinds, RunMusic,
    testing::Values(
        MusicCase{"None", 0, "", {}, {}, false, false, {}},
        MusicCase{"Mp3MixedCase", 2, "C:\\m\\song.Mp3", {kOpenMp3, "play MP3Play"},
                  {"stop MP3Play", "close MP3Play"}, true, false, {}},
        MusicCase{"Wav", 2, "C:\\m\\loop.wAv", {}, {}, false, false, {}},
        MusicCase{"Wma", 2, "C:\\m\\song.wma", {}, {}, false, false, {}},
        MusicCase{"ShortName", 2, "v", {}, {}, false, false, {}},
        MusicCase{"Cd", 1, "C:\\m\\song.mp3", {"open cdaudio", "set cdaudio time format tmsf"},
                  {"stop cdaudio", "close cdaudio"}, false, true, {}},
        MusicCase{"UnknownKind", 7, "C:\\m\\song.mp3", {}, {}, false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunMusicWav, LoopsAtLoadAndStopsAtTheEnd) {
  SaverRun run(2, "C:\\m\\loop.WAV");
  run.RendererWindow(true);
  run.Timer(3).Fire();
  run.RendererWindow(false);
  run.Timer(3).Fire();
  // SND_ASYNC | SND_LOOP, then "no sound" to stop it.
  EXPECT_EQ(Sounds(run.mci), (std::vector<std::string>{"C:\\m\\loop.WAV/9", "<none>/0"}));
}

TEST(RunMusicCd, NoDiscStopsTheWatchAndTheEndSendsNothingMore) {
  SaverRun run(1, "");
  run.mci.answers["status cdaudio current track"] = {275, ""};
  run.Timer(2).Fire();
  EXPECT_FALSE(run.Timer(2).Enabled());
  run.mci.calls.clear();
  EXPECT_FALSE(run.Timer(2).Fire()) << "a stopped watch gets no more ticks";
  run.RendererWindow(true);
  run.Timer(3).Fire();
  run.RendererWindow(false);
  EXPECT_EQ(run.TicksToEnd(1), 1);
  EXPECT_TRUE(run.mci.Commands().empty());
}

TEST(RunTimers, Mp3RestartsOnlyWhenStopped) {
  SaverRun run(2, "/music/a.mp3");
  run.mci.calls.clear();
  run.mci.answers["status MP3Play mode"] = {0, "playing"};
  run.Timer(1).Fire();
  EXPECT_EQ(run.mci.Commands(), (std::vector<std::string>{"status MP3Play mode"}));
  run.mci.answers["status MP3Play mode"] = {0, "stopped"};
  run.Timer(1).Fire();
  EXPECT_EQ(run.mci.Commands().back(), "play MP3Play from 0");
}

struct WatchCase {
  const char* name;
  bool startable;
  int windowFrom;    // tick at which the renderer's window appears, 0 never
  int windowUntil;   // tick from which it is gone again, 0 never
  int processEnds;   // tick at which the renderer's process has ended, 0 never
  int endsAtTick;
};
void PrintTo(const WatchCase& c, std::ostream* os) {
  *os << c.name;
}


class RunWatch : public testing::TestWithParam<WatchCase> {};

TEST_P(RunWatch, EndsWhenTheRendererIsGoneAndNotBefore) {
  const WatchCase& c = GetParam();
  SaverRun run(0, "", "/s", c.startable);
  int ended = -1;
  for (int tick = 1; tick <= 40 && ended < 0; ++tick) {
    run.RendererWindow(c.windowFrom > 0 && tick >= c.windowFrom && (c.windowUntil == 0 || tick < c.windowUntil));
    if (c.processEnds > 0 && tick >= c.processEnds && run.app.started.count(kRenderer)) {
      *run.app.started[kRenderer] = false;
    }
    run.Timer(3).Fire();
    if (run.app.ended) ended = tick;
  }
  EXPECT_EQ(ended, c.endsAtTick);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunWatch,
    testing::Values(
        WatchCase{"EscapeAfterTheWindowWasSeen", true, 1, 6, 0, 6},
        WatchCase{"SlowRendererIsWaitedFor", true, 5, 9, 0, 9},
        WatchCase{"RendererCouldNotStart", false, 0, 0, 0, 1},
        WatchCase{"RendererDiedBeforeItsWindow", true, 0, 0, 4, 4},
        WatchCase{"KilledRendererTakesItsWindow", true, 1, 3, 3, 3},
        WatchCase{"RunningRendererWithoutWindowGivesUpAfterTenSeconds", true, 0, 0, 0, 20}),
    [](const auto& info) { return std::string(info.param.name); });

// Once its own renderer has ended, the host has the desktop's mode put back
// (the backend does so only where the screen was left switched); its end is
// acted on at once, not at the next tick.
struct EndingCase {
  const char* name;
  bool daemonWindow;
  bool hostSignalled;  // the host is ended while its renderer still runs
  bool restores;
};
void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }

class RunEnding : public testing::TestWithParam<EndingCase> {};

TEST_P(RunEnding, PutsTheModeBackOnceItsOwnRendererHasEnded) {
  const EndingCase& c = GetParam();
  FakeApplication app;
  RecordingMci mci;
  music::Lumora_BGM bgm{mci};
  saver::BgmKind = 2;
  saver::BgmFile = "/music/a.mp3";
  app.commandLine = "/s";
  app.programFolder = kFolder;
  app.startablePrograms.insert(kRenderer);
  saver::Lumora_S form(app, bgm, c.daemonWindow ? saver::Lumora_S::Screen::DaemonWindow
                                                : saver::Lumora_S::Screen::OwnWindow);
  form.LoadForm();
  EXPECT_EQ(app.logger.Contains("note display"), !c.daemonWindow);
  const std::string note = "note display", start = std::string("start ") + kRenderer;
  if (!c.daemonWindow) {
    EXPECT_LT(std::find(app.log.begin(), app.log.end(), note), std::find(app.log.begin(), app.log.end(), start));
  }
  app.windows.insert("Lumora_VC");
  app.forms.front()->timers.at(2)->Fire();
  ASSERT_FALSE(app.ended);
  mci.calls.clear();
  if (c.hostSignalled) {
    app.forms.front()->Unload();
  } else {
    app.windows.erase("Lumora_VC");
    *app.started[kRenderer] = false;
    ASSERT_TRUE(app.endings[kRenderer]->notify);
    app.endings[kRenderer]->notify();
  }
  EXPECT_TRUE(app.ended) << "without waiting for the watch";
  EXPECT_EQ(mci.Commands(), (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(app.logger.Contains("restore display from 1024x768"), c.restores);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunEnding,
    testing::Values(EndingCase{"RendererEnded", false, false, true},
                    EndingCase{"HostEndedFirstLeavesItToTheRenderer", false, true, false},
                    EndingCase{"DaemonWindowIsNeverSwitched", true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCursor, ShownAgainOnlyForTheSLetter) {
  for (const auto& [commandLine, shows] : {std::pair{"/s", true}, {"-S", true}, {"", false}}) {
    SaverRun run(0, "", commandLine, /*startable=*/false);
    ASSERT_EQ(run.TicksToEnd(1), 1);
    EXPECT_EQ(run.app.logger.Contains("cursor show"), shows) << commandLine;
  }
}

TEST(RunUnload, AnyOtherReasonRunsTheSameSteps) {
  SaverRun run(2, "/music/a.mp3");
  run.mci.calls.clear();
  run.fakeForm->Unload();  // a termination signal or the session's end
  EXPECT_EQ(run.mci.Commands(), (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(run.app.log.back(), "end");
}

// --- in an idle daemon's window (Linux desktops)

struct DaemonRun {
  FakeApplication app;
  RecordingMci mci;
  music::Lumora_BGM bgm{mci};
  saver::Lumora_S form{app, bgm, saver::Lumora_S::Screen::DaemonWindow};
  testsupport::FakeForm* fakeForm = nullptr;

  explicit DaemonRun(std::string commandLine, bool startable = true) {
    saver::BgmKind = 2;
    saver::BgmFile = "/music/a.mp3";
    app.commandLine = std::move(commandLine);
    app.programFolder = kFolder;
    if (startable) app.startablePrograms.insert(kRenderer);
    form.LoadForm();
    fakeForm = app.forms.empty() ? nullptr : app.forms.front();
  }
  testsupport::FakeTimer& Watch() { return *fakeForm->timers.at(2); }
};

TEST(DaemonWindowRun, FollowsItsOwnRendererNotAnyWindowTitled) {
  for (const char* commandLine : {"-root", "/s"}) {
    DaemonRun run(commandLine);
    ASSERT_NE(run.fakeForm, nullptr);
    // No title another copy's single-copy check would find.
    EXPECT_EQ(run.fakeForm->caption, "") << commandLine;
    EXPECT_TRUE(run.app.started.count(kRenderer));
    EXPECT_NE(run.mci.Commands(), std::vector<std::string>{}) << "the music plays";
    // Without a "Lumora_VC" anywhere the run goes on while its renderer runs;
    // another monitor's renderer window does not keep it alive.
    for (int tick = 0; tick < 30; ++tick) run.Watch().Fire();
    EXPECT_FALSE(run.app.ended);
    run.app.windows.insert("Lumora_VC");
    *run.app.started[kRenderer] = false;
    run.mci.calls.clear();
    run.Watch().Fire();
    EXPECT_TRUE(run.app.ended) << commandLine;
    EXPECT_EQ(run.mci.Commands(), (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
    EXPECT_FALSE(run.app.logger.Contains("cursor show")) << "the pointer is the daemon's";
  }
}

TEST(DaemonWindowRun, RendererThatCannotStartEndsTheRunAtTheFirstTick) {
  DaemonRun run("-root", /*startable=*/false);
  run.Watch().Fire();
  EXPECT_TRUE(run.app.ended);
}

}  // namespace
