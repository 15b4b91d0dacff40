// Music benchmarks on the Linux interpreter, played into a timing sink at the
// clock's pace:
//   play to the first decoded buffer, MP3 and CD image track (goal <= 100 ms);
//   MP3 end to restart under the 1000 ms RepeatMp3 timer (goal <= 1050 ms);
//   interpreter cost of one status command (goal <= 50 us).
// Goals are reported, never asserted.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/music/bench_fixtures.h"
#include "saver/music/gst/gst_mci.h"
#include "saver/music/lumora_bgm.h"
#include "saver/music/gst/mci_interpreter.h"
#include "bench/music/probe_sink.h"
#include "saver/settings_vars.h"

namespace music::bench {
namespace {

constexpr double kFirstBufferGoalMs = 100;
constexpr double kStatusGoalUs = 50;
constexpr int kTimerPeriodMs = 1000;
constexpr double kGapGoalMs = kTimerPeriodMs + 50;
constexpr std::int64_t kWaitLimitNs = 10'000'000'000;
constexpr int kTrackSeconds = 20;

Fixtures* fixtures = nullptr;

std::uint32_t Run(MciInterpreter& mci, const std::string& command) {
  std::string reply;
  return mci.Execute(command, reply);
}

// Waits for the probe's first buffer; its time, or 0 when none came.
std::int64_t WaitForFirstBuffer() {
  const std::int64_t limit = NowNs() + kWaitLimitNs;
  while (Times().firstBuffer == 0 && NowNs() < limit) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return Times().firstBuffer;
}

struct Samples {
  std::vector<double> ms;
  // The iteration's time: from `start` to the first sound.
  void Add(benchmark::State& state, std::int64_t start, std::int64_t first) {
    const double seconds = static_cast<double>(first - start) / 1e9;
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
  }
  void Report(benchmark::State& state) const {
    if (ms.empty()) return;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    state.counters["median_ms"] = sorted[sorted.size() / 2];
    state.counters["worst_ms"] = sorted.back();
  }
};

// One timed "play": command sent to first sound at the sink.
bool TimePlay(benchmark::State& state, MciInterpreter& mci, const std::string& command, Samples& samples) {
  Arm();
  const std::int64_t start = NowNs();
  if (Run(mci, command) != 0) {
    state.SkipWithError(("refused: " + command).c_str());
    return false;
  }
  const std::int64_t first = WaitForFirstBuffer();
  if (first == 0) {
    state.SkipWithError(("no sound after: " + command).c_str());
    return false;
  }
  samples.Add(state, start, first);
  return true;
}

// A freshly opened (prerolled) file started with "play MP3Play".
void PlayMp3ToFirstBuffer(benchmark::State& state) {
  MciInterpreter mci(ProbeSinkDescription(), std::string());
  const std::string open = "open \"" + fixtures->File("tone.mp3") + "\" type MPEGVideo alias MP3Play";
  Samples samples;
  for (auto _ : state) {
    if (Run(mci, open) != 0) {
      state.SkipWithError("the MP3 does not open");
      break;
    }
    const bool played = TimePlay(state, mci, "play MP3Play", samples);
    Run(mci, "close MP3Play");
    if (!played) break;
  }
  samples.Report(state);
}

// PlayMp3 as a whole: the open (with its preroll) and the play.
void OpenAndPlayMp3ToFirstBuffer(benchmark::State& state) {
  MciInterpreter mci(ProbeSinkDescription(), std::string());
  const std::string open = "open \"" + fixtures->File("tone.mp3") + "\" type MPEGVideo alias MP3Play";
  Samples samples;
  for (auto _ : state) {
    Arm();
    const std::int64_t start = NowNs();
    if (Run(mci, open) != 0 || Run(mci, "play MP3Play") != 0 || WaitForFirstBuffer() == 0) {
      state.SkipWithError("the MP3 does not play");
      break;
    }
    samples.Add(state, start, Times().firstBuffer);
    Run(mci, "close MP3Play");
  }
  samples.Report(state);
}

// RepeatMp3's restart of a file that is playing: stop, then play from 0.
void RestartMp3ToFirstBuffer(benchmark::State& state) {
  MciInterpreter mci(ProbeSinkDescription(), std::string());
  const std::string open = "open \"" + fixtures->File("tone.mp3") + "\" type MPEGVideo alias MP3Play";
  Samples samples;
  if (Run(mci, open) != 0 || Run(mci, "play MP3Play") != 0) state.SkipWithError("the MP3 does not play");
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Arm();
    const std::int64_t start = NowNs();
    Run(mci, "stop MP3Play");
    if (Run(mci, "play MP3Play from 0") != 0 || WaitForFirstBuffer() == 0) {
      state.SkipWithError("no sound after the restart");
      break;
    }
    samples.Add(state, start, Times().firstBuffer);
  }
  Run(mci, "close MP3Play");
  samples.Report(state);
}

// PollCd's start of a chosen track: "play cdaudio from <track>" on a drive
// that is stopped (no pipeline until then).
void PlayCdTrackToFirstBuffer(benchmark::State& state) {
  MciInterpreter mci(ProbeSinkDescription(), fixtures->File("disc.cue"));
  Samples samples;
  if (Run(mci, "open cdaudio") != 0 || Run(mci, "set cdaudio time format tmsf") != 0) {
    state.SkipWithError("the disc image does not open");
  }
  for (auto _ : state) {
    const bool played = TimePlay(state, mci, "play cdaudio from 2", samples);
    Run(mci, "stop cdaudio");
    if (!played) break;
  }
  Run(mci, "close cdaudio");
  samples.Report(state);
}

void StatusLoop(benchmark::State& state, MciInterpreter& mci, const std::string& command) {
  std::string reply;
  for (auto _ : state) {
    const std::uint32_t code = mci.Execute(command, reply);
    benchmark::DoNotOptimize(code);
    benchmark::DoNotOptimize(reply.data());
  }
}

// The watches ask while the music plays.
void StatusMp3Mode(benchmark::State& state) {
  MciInterpreter mci(ProbeSinkDescription(), std::string());
  const std::string open = "open \"" + fixtures->File("long.mp3") + "\" type MPEGVideo alias MP3Play";
  if (Run(mci, open) != 0 || Run(mci, "play MP3Play") != 0) state.SkipWithError("the MP3 does not play");
  StatusLoop(state, mci, "status MP3Play mode");
  Run(mci, "close MP3Play");
}

void StatusCd(benchmark::State& state, const std::string& command) {
  MciInterpreter mci(ProbeSinkDescription(), fixtures->File("disc.cue"));
  if (Run(mci, "open cdaudio") != 0 || Run(mci, "set cdaudio time format tmsf") != 0 ||
      Run(mci, "play cdaudio from 1") != 0) {
    state.SkipWithError("the disc image does not play");
  }
  StatusLoop(state, mci, command);
  Run(mci, "close cdaudio");
}

void StatusCdMode(benchmark::State& state) { StatusCd(state, "status cdaudio mode"); }
void StatusCdCurrentTrack(benchmark::State& state) { StatusCd(state, "status cdaudio current track"); }

BENCHMARK(PlayMp3ToFirstBuffer)->Name("play_mp3_to_first_buffer")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndPlayMp3ToFirstBuffer)->Name("open_and_play_mp3_to_first_buffer")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(RestartMp3ToFirstBuffer)->Name("restart_mp3_to_first_buffer")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(PlayCdTrackToFirstBuffer)->Name("play_cd_track_to_first_buffer")->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(StatusMp3Mode)->Name("status_mp3play_mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(StatusCdMode)->Name("status_cdaudio_mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(StatusCdCurrentTrack)->Name("status_cdaudio_current_track")->Unit(benchmark::kMicrosecond);

// Keeps what the figures below need.
class GoalReporter : public benchmark::ConsoleReporter {
 public:
  GoalReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // Without the "/iterations:10/manual_time" tail.
      const std::string name = run.benchmark_name();
      Figure& figure = figures[name.substr(0, name.find('/'))];
      figure.perIteration = run.GetAdjustedRealTime();
      for (const auto& [name, counter] : run.counters) figure.counters[name] = counter.value;
    }
  }
  struct Figure {
    double perIteration = 0;
    std::map<std::string, double> counters;
  };
  std::map<std::string, Figure> figures;
};

const char* Verdict(bool met) { return met ? "met" : "missed"; }

// The saver run's Timer1 over Lumora_BGM: ticks every period from PlayMp3 on;
// each restart's gap runs from the end of the sound to its next first buffer.
struct GapResult {
  std::vector<double> gapsMs;
  std::vector<double> endAfterTickMs;  // where in the period each end fell
};

GapResult RepeatGaps(const std::string& file, int restarts) {
  GapResult result;
  GstMci mci(ProbeSinkDescription(), std::string());
  Lumora_BGM bgm(mci);
  saver::BgmFile = file;
  Arm();
  bgm.PlayMp3();
  const auto start = std::chrono::steady_clock::now();
  if (WaitForFirstBuffer() == 0) return result;
  const std::int64_t startNs = NowNs() - std::chrono::duration_cast<std::chrono::nanoseconds>(
                                             std::chrono::steady_clock::now() - start).count();
  for (int tick = 1; static_cast<int>(result.gapsMs.size()) < restarts && tick < restarts * 10; ++tick) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(kTimerPeriodMs * tick));
    const ProbeTimes before = Times();
    Arm();
    bgm.RepeatMp3();
    // RepeatMp3 restarted the file when the mode it read was not "playing".
    if (std::string_view(bgm.mp3ModeBuffer.data(), 7) == "playing") continue;
    const std::int64_t first = WaitForFirstBuffer();
    if (first == 0 || before.soundEnd == 0) break;
    result.gapsMs.push_back(static_cast<double>(first - before.soundEnd) / 1e6);
    const double endMs = static_cast<double>(before.soundEnd - startNs) / 1e6;
    result.endAfterTickMs.push_back(endMs - kTimerPeriodMs * static_cast<int>(endMs / kTimerPeriodMs));
  }
  bgm.StopMp3();
  return result;
}

}  // namespace
}  // namespace music::bench

int main(int argc, char** argv) {
  using namespace music::bench;
  benchmark::Initialize(&argc, argv);
  if (!RegisterProbeSink()) {
    std::fprintf(stderr, "GStreamer cannot start\n");
    return 1;
  }
  Fixtures made;
  fixtures = &made;
  // The repeat lengths put the end early in a period, mid-period and just
  // after a tick (the worst case: a whole period to wait).
  const double repeatLengths[] = {1.3, 1.5, 2.02};
  bool ready = made.Ready() && made.MakeMp3("tone.mp3", 3) && made.MakeMp3("long.mp3", 60) &&
               made.MakeDisc("disc.cue", 3, kTrackSeconds);
  for (double length : repeatLengths) ready = ready && made.MakeMp3("repeat-" + std::to_string(length) + ".mp3", length);
  if (!ready) {
    std::fprintf(stderr, "cannot make the sound files (sox and lame are needed)\n");
    return 1;
  }

  GoalReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nMP3 end to restart under the %d ms RepeatMp3 timer:\n", kTimerPeriodMs);
  double worstGap = 0;
  bool gapsMeasured = true;
  for (double length : repeatLengths) {
    const GapResult gaps = RepeatGaps(made.File("repeat-" + std::to_string(length) + ".mp3"), 4);
    if (gaps.gapsMs.empty()) {
      gapsMeasured = false;
      std::printf("  %.2f s file: no restart measured\n", length);
      continue;
    }
    std::printf("  %.2f s file: gaps", length);
    for (std::size_t i = 0; i < gaps.gapsMs.size(); ++i) {
      std::printf(" %.0f ms (end %.0f ms after a tick)", gaps.gapsMs[i], gaps.endAfterTickMs[i]);
      worstGap = std::max(worstGap, gaps.gapsMs[i]);
    }
    std::printf("\n");
  }

  std::printf("\nSummary (goals are reported, not asserted):\n");
  auto first = [&](const char* name, const char* label) {
    const auto found = reporter.figures.find(name);
    if (found == reporter.figures.end()) {
      std::printf("  %-48s not measured\n", label);
      return;
    }
    const double median = found->second.counters["median_ms"];
    const double worst = found->second.counters["worst_ms"];
    std::printf("  %-48s median %6.1f ms, worst %6.1f ms  [goal <= %.0f ms: %s]\n", label, median, worst,
                kFirstBufferGoalMs, Verdict(worst <= kFirstBufferGoalMs));
  };
  first("play_mp3_to_first_buffer", "play MP3Play to first buffer:");
  first("open_and_play_mp3_to_first_buffer", "open + play MP3Play (PlayMp3) to first buffer:");
  first("restart_mp3_to_first_buffer", "stop + play MP3Play from 0 to first buffer:");
  first("play_cd_track_to_first_buffer", "play cdaudio from <track> to first buffer:");
  if (gapsMeasured) {
    std::printf("  %-48s worst  %6.0f ms                    [goal <= %.0f ms: %s]\n", "MP3 end to restart (RepeatMp3):",
                worstGap, kGapGoalMs, Verdict(worstGap <= kGapGoalMs));
  } else {
    std::printf("  %-48s not measured\n", "MP3 end to restart (RepeatMp3):");
  }
  auto status = [&](const char* name, const char* label) {
    const auto found = reporter.figures.find(name);
    if (found == reporter.figures.end()) {
      std::printf("  %-48s not measured\n", label);
      return;
    }
    const double us = found->second.perIteration;
    std::printf("  %-48s %6.2f us per command              [goal <= %.0f us: %s]\n", label, us, kStatusGoalUs,
                Verdict(us <= kStatusGoalUs));
  };
  status("status_mp3play_mode", "status MP3Play mode:");
  status("status_cdaudio_mode", "status cdaudio mode:");
  status("status_cdaudio_current_track", "status cdaudio current track:");
  benchmark::Shutdown();
  return 0;
}
