// The renderer's start beside the X11 GL hacks of xscreensaver, each run as
// a black box on one private Xvfb 1024 x 768 screen, in interleaved runs:
//  - exec to its window mapped (MapNotify of a new top-level window);
//  - exec to the first lit pixel (the first damage of that window after
//    which it holds a pixel that is not black).
// An observer connection watches the screen; nothing is preloaded there.
// Then Tovarel.dll alone, through a preloaded probe around glXSwapBuffers:
// CPU per frame without the 15 ms sleep, and peak resident memory.
//   renderer_bench [RUNS [OTHER_PROGRAM...]]  (others: e.g. an earlier build)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/xvfb_server.h"

namespace {

long long NowNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Program {
  bool hack;
  std::string label;
  std::vector<std::string> argv;
  std::vector<double> mapped, lit;
};

struct Observer {
  Display* display = nullptr;
  int damageEvent = 0;
};

struct Area {
  int x = 0, y = 0, width = 0, height = 0;
};

// Only what the screen shows of a window can be read back (hacks open
// windows larger than this screen, centred on it).
Area VisiblePart(Display* display, Window window) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(display, window, &a)) return {};
  const int left = a.x + a.border_width, top = a.y + a.border_width;  // the inside, on the root
  const int right = std::min(left + a.width, WidthOfScreen(a.screen));
  const int bottom = std::min(top + a.height, HeightOfScreen(a.screen));
  return Area{std::max(0, -left), std::max(0, -top), right - std::max(left, 0), bottom - std::max(top, 0)};
}

bool AnyLit(Display* display, Window window, const Area& area) {
  if (area.width <= 0 || area.height <= 0) return false;
  XImage* image = XGetImage(display, window, area.x, area.y, static_cast<unsigned>(area.width),
                            static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
  if (!image) return false;
  const int width = area.width, height = area.height;
  bool lit = false;
  for (int y = 0; y < height && !lit; ++y)
    for (int x = 0; x < width && !lit; ++x) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
  XDestroyImage(image);
  return lit;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// Starts the program, waits for its window and its first lit pixel, ends it.
bool Measure(Observer& o, Program& program) {
  Display* d = o.display;
  XSync(d, True);  // drop what earlier runs left
  const long long start = NowNs();
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (auto& arg : program.argv) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  long long mappedAt = 0, litAt = 0;
  Window window = 0;
  Area area;
  Damage damage = 0;
  const long long limit = start + 10'000'000'000LL;
  while (!litAt && NowNs() < limit) {
    if (XPending(d) == 0) {
      pollfd connection{ConnectionNumber(d), POLLIN, 0};
      poll(&connection, 1, 100);
      continue;
    }
    XEvent event;
    XNextEvent(d, &event);
    if (event.type == MapNotify && !window && !event.xmap.override_redirect) {
      mappedAt = NowNs();
      window = event.xmap.window;
      area = VisiblePart(d, window);
      damage = XDamageCreate(d, window, XDamageReportNonEmpty);
      // Drawn before the damage was watched: look once now.
      if (AnyLit(d, window, area)) litAt = NowNs();
    } else if (window && event.type == o.damageEvent + XDamageNotify) {
      XDamageSubtract(d, damage, None, None);
      // Where it is now: some hacks move their window once it is shown.
      area = VisiblePart(d, window);
      if (AnyLit(d, window, area)) litAt = NowNs();
    }
  }
  if (damage) XDamageDestroy(d, damage);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XSync(d, False);
  // The server tidies up after a client for a while; the next start should
  // not pay for that.
  usleep(300 * 1000);
  if (!mappedAt || !litAt) return false;
  program.mapped.push_back((mappedAt - start) / 1e6);
  program.lit.push_back((litAt - start) / 1e6);
  return true;
}

struct FrameCost {
  double cpuMs = 0;
  long rssKb = 0;
};

std::optional<FrameCost> MeasureFrames(const char* program, int frames) {
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setenv("LD_PRELOAD", TOVAREL_SWAP_PROBE, 1);
    setenv("TOVAREL_PROBE_FD", std::to_string(fds[1]).c_str(), 1);
    setenv("TOVAREL_PROBE_FRAMES", std::to_string(frames).c_str(), 1);
    setenv("TOVAREL_PROBE_NO_SLEEP", "1", 1);
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
  int counted = 0;
  long long cpuNs = 0;
  FrameCost cost;
  const char* line = std::strstr(text.c_str(), "frames ");
  if (!line || std::sscanf(line, "frames %d cpu %lld rss %ld", &counted, &cpuNs, &cost.rssKb) != 3 || counted <= 0)
    return std::nullopt;
  cost.cpuMs = cpuNs / 1e6 / counted;
  return cost;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
  testsupport::XvfbServer xvfb("1024x768x24");
  if (!xvfb.Running()) {
    std::fprintf(stderr, "no Xvfb\n");
    return 1;
  }
  Observer o;
  o.display = XOpenDisplay(nullptr);
  int damageError = 0;
  if (!o.display || !XDamageQueryExtension(o.display, &o.damageEvent, &damageError)) {
    std::fprintf(stderr, "no X connection or no DAMAGE\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  XSelectInput(o.display, DefaultRootWindow(o.display), SubstructureNotifyMask);

  const std::string hacks = "/usr/libexec/xscreensaver/";
  std::vector<Program> programs = {
      {false, "Tovarel.dll", {TOVAREL_RENDERER}, {}, {}},
      {true, "xscreensaver glschool", {hacks + "glschool"}, {}, {}},
      {true, "xscreensaver atlantis -texture", {hacks + "atlantis", "-texture"}, {}, {}},
      {true, "xscreensaver flurry", {hacks + "flurry"}, {}, {}},
  };
  for (int i = 2; i < argc; ++i) programs.push_back(Program{false, argv[i], {argv[i]}, {}, {}});
  std::vector<Program*> present;
  for (auto& p : programs) {
    if (access(p.argv[0].c_str(), X_OK) == 0) present.push_back(&p);
    else std::fprintf(stderr, "not installed: %s\n", p.argv[0].c_str());
  }
  for (Program* p : present) Measure(o, *p);  // warm the file cache
  for (Program* p : present) {
    p->mapped.clear();
    p->lit.clear();
  }
  for (int i = 0; i < runs; ++i)
    for (Program* p : present)
      if (!Measure(o, *p)) std::fprintf(stderr, "%s: no window or no lit pixel in 10 s\n", p->label.c_str());

  double bestMapped = 0, bestLit = 0;
  for (Program* p : present) {
    if (!p->hack || p->mapped.empty()) continue;
    const double m = Median(p->mapped), l = Median(p->lit);
    if (bestMapped == 0 || m < bestMapped) bestMapped = m;
    if (bestLit == 0 || l < bestLit) bestLit = l;
  }
  std::printf("%-32s %12s %18s   (medians of %d interleaved runs)\n", "program", "mapped ms", "first lit pixel ms",
              runs);
  for (Program* p : present)
    std::printf("%-32s %12.1f %18.1f\n", p->label.c_str(), Median(p->mapped), Median(p->lit));
  if (bestMapped > 0 && !programs[0].mapped.empty())
    std::printf("Tovarel.dll against the best hack: mapped %.2fx, first lit pixel %.2fx  [goal <= 1.0x]\n",
                Median(programs[0].mapped) / bestMapped, Median(programs[0].lit) / bestLit);
  XCloseDisplay(o.display);

  std::vector<double> cpu;
  long rss = 0;
  for (int i = 0; i < 3; ++i) {
    if (const auto cost = MeasureFrames(TOVAREL_RENDERER, 300)) {
      cpu.push_back(cost->cpuMs);
      rss = std::max(rss, cost->rssKb);
    }
  }
  std::printf("Tovarel.dll: CPU per frame without the 15 ms sleep %.2f ms (median of %zu runs of 300 frames), "
              "peak resident memory %.1f MB\n",
              Median(cpu), cpu.size(), rss / 1024.0);
  return 0;
}
