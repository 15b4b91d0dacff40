#pragma once
// Timers as every backend must run them: one table of cases, run over the
// unit tests' fake and over each real backend. Free of the test framework:
// the Windows probe runs it too and prints the log.
//
// The margins are wide (150 ms and more either side of every tick), so a
// busy machine does not change the counts.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace conformance {

struct TimerCase {
  const char* name;
  int interval;
  // What the first tick's handler does: "" nothing more, "wait N" runs
  // events for N ms (a nested loop, as a modal dialog would), "busy N"
  // takes N ms without running events, "disable" disables the timer.
  std::string firstTick;
  // "wait N", "enable", "disable", "interval N", "unload", "load" (the form),
  // "ticks" (logs "ticks N"; the first is right after the timer is made).
  std::vector<std::string> steps;
  std::vector<std::string> log;  // ends with "deepest D": the most ticks running at once
};

inline const std::vector<TimerCase>& TimerCases() {
  static const std::vector<TimerCase> cases = {
      {"enabling an enabled timer starts its interval afresh",
       400,
       "",
       {"ticks", "wait 250", "enable", "wait 250", "ticks", "wait 300", "ticks"},
       {"ticks 0", "ticks 0", "ticks 1", "deepest 1"}},
      {"a new interval starts afresh",
       400,
       "",
       {"wait 250", "interval 400", "wait 250", "ticks", "wait 300", "ticks"},
       {"ticks 0", "ticks 1", "deepest 1"}},
      {"disabled and enabled again, the interval starts afresh",
       400,
       "",
       {"wait 250", "disable", "wait 100", "enable", "wait 250", "ticks", "wait 300", "ticks"},
       {"ticks 0", "ticks 1", "deepest 1"}},
      {"no tick comes inside a handler that runs a nested loop",
       50,
       "wait 400",
       {"wait 700", "ticks"},
       {"ticks many", "deepest 1"}},
      {"an interval of 0 stops the ticks, a new one starts them",
       300,
       "",
       {"interval 0", "wait 700", "ticks", "interval 300", "wait 450", "ticks"},
       {"ticks 0", "ticks 1", "deepest 1"}},
      {"a handler that disables its own timer stops it",
       150,
       "disable",
       {"wait 600", "ticks"},
       {"ticks 1", "deepest 1"}},
      {"a timer stops with its form's unload and runs again with its next load",
       300,
       "",
       {"wait 450", "ticks", "unload", "wait 700", "ticks", "load", "wait 450", "ticks"},
       {"ticks 1", "ticks 1", "ticks 2", "deepest 1"}},
      {"the ticks a long handler held up come as one",
       300,
       "busy 700",
       {"wait 400", "wait 150", "ticks"},
       {"ticks 2", "deepest 1"}},
  };
  return cases;
}

// How a backend lets time pass.
class TimerClock {
 public:
  virtual ~TimerClock() = default;
  // Runs events for this long.
  virtual void Wait(int ms) = 0;
  // Takes this long without running events.
  virtual void Busy(int ms) = 0;
};

// Runs the case on a loaded form; the timer goes with the form.
inline std::vector<std::string> RunTimerCase(toolkit::Form& form, TimerClock& clock, const TimerCase& c) {
  std::vector<std::string> log;
  int ticks = 0, depth = 0, deepest = 0;
  toolkit::Timer* timer = nullptr;
  timer = &form.AddTimer(c.interval, true, [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    int ms = 0;
    if (ticks == 1 && std::sscanf(c.firstTick.c_str(), "wait %d", &ms) == 1) clock.Wait(ms);
    if (ticks == 1 && std::sscanf(c.firstTick.c_str(), "busy %d", &ms) == 1) clock.Busy(ms);
    if (ticks == 1 && c.firstTick == "disable") timer->SetEnabled(false);
    --depth;
  });
  for (const std::string& step : c.steps) {
    int ms = 0;
    if (std::sscanf(step.c_str(), "wait %d", &ms) == 1) clock.Wait(ms);
    else if (std::sscanf(step.c_str(), "interval %d", &ms) == 1) timer->SetInterval(ms);
    else if (step == "enable") timer->SetEnabled(true);
    else if (step == "disable") timer->SetEnabled(false);
    else if (step == "unload") form.Unload();
    else if (step == "load") form.Load();
    else if (step == "ticks") log.push_back(ticks > 3 ? "ticks many" : "ticks " + std::to_string(ticks));
    else log.push_back("no such step: " + step);
  }
  timer->SetEnabled(false);
  log.push_back("deepest " + std::to_string(deepest));
  return log;
}

}  // namespace conformance
