// Renderer benchmarks on a private Xvfb 1024 x 768 screen, measured from
// outside the program through a preloaded probe:
//  - exec to the first swapped frame of Tovarel.dll (and of the bare program);
//  - CPU per frame without the 15 ms sleep, Tovarel.dll against the bare
//    program, in alternating runs;
//  - peak resident memory of both.
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "xvfb_server.h"

namespace {

long long NowNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Result {
  long long startNs = 0;
  long long firstNs = 0;
  long long cpuNs = 0;
  long rssKb = 0;
  int frames = 0;
};

Result Run(const char* program, int frames) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  Result r;
  r.startNs = NowNs();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setenv("LD_PRELOAD", TOVAREL_SWAP_PROBE, 1);
    setenv("TOVAREL_PROBE_FD", std::to_string(fds[1]).c_str(), 1);
    setenv("TOVAREL_PROBE_FRAMES", std::to_string(frames).c_str(), 1);
    setenv("TOVAREL_PROBE_NO_SLEEP", frames > 0 ? "1" : "0", 1);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  char buffer[256];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  if (const char* first = std::strstr(text.c_str(), "first ")) r.firstNs = std::atoll(first + 6);
  if (const char* line = std::strstr(text.c_str(), "frames "))
    std::sscanf(line, "frames %d cpu %lld rss %ld", &r.frames, &r.cpuNs, &r.rssKb);
  return r;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int startRuns = argc > 1 ? std::atoi(argv[1]) : 15;
  const int frameRuns = argc > 2 ? std::atoi(argv[2]) : 3;
  const int frames = 300;
  testsupport::XvfbServer xvfb("1024x768x24");
  if (!xvfb.Running()) {
    std::fprintf(stderr, "no Xvfb\n");
    return 1;
  }
  std::vector<double> startOurs, startBare, cpuOurs, cpuBare;
  long rssOurs = 0, rssBare = 0;
  Run(TOVAREL_RENDERER, 0);  // warm the file cache for both
  Run(TOVAREL_BARE, 0);
  for (int i = 0; i < startRuns; ++i) {
    const Result ours = Run(TOVAREL_RENDERER, 0);
    const Result bare = Run(TOVAREL_BARE, 0);
    if (ours.firstNs) startOurs.push_back((ours.firstNs - ours.startNs) / 1e6);
    if (bare.firstNs) startBare.push_back((bare.firstNs - bare.startNs) / 1e6);
  }
  for (int i = 0; i < frameRuns; ++i) {
    const Result ours = Run(TOVAREL_RENDERER, frames);
    const Result bare = Run(TOVAREL_BARE, frames);
    if (ours.frames) cpuOurs.push_back(ours.cpuNs / 1e6 / ours.frames);
    if (bare.frames) cpuBare.push_back(bare.cpuNs / 1e6 / bare.frames);
    rssOurs = std::max(rssOurs, ours.rssKb);
    rssBare = std::max(rssBare, bare.rssKb);
  }
  const double so = Median(startOurs), sb = Median(startBare), co = Median(cpuOurs), cb = Median(cpuBare);
  const double soMin = startOurs.empty() ? 0 : *std::min_element(startOurs.begin(), startOurs.end());
  std::printf("exec to first swapped frame: Tovarel.dll median %.1f ms (best %.1f), bare %.1f ms  [goal <= 55 ms: %s]\n",
              so, soMin, sb, so <= 55 ? "met" : "missed");
  std::printf("CPU per frame, no sleep:     Tovarel.dll %.2f ms, bare %.2f ms, ratio %.3f  [goal <= 1.05: %s]\n", co,
              cb, cb > 0 ? co / cb : 0, cb > 0 && co / cb <= 1.05 ? "met" : "missed");
  std::printf("peak resident memory:        Tovarel.dll %.1f MB, bare %.1f MB  [goal <= bare: %s]\n", rssOurs / 1024.0,
              rssBare / 1024.0, rssOurs <= rssBare ? "met" : "missed");
  return 0;
}
