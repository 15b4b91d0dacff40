// The settings dialog and its buttons on a private Xvfb screen. Figures are
// printed against their goals, never asserted.
//  In this process, the real dialog on the Qt backend:
//   - one PaintFace of a 77 x 25 button (goal <= 0.5 ms);
//   - a TmrMouse tick that changes nothing (goal <= 20 us), with the X
//     requests it makes;
//   - exposes of the buttons forced by another client: faces painted by
//     them (goal: none);
//   - both gradient passes, as the resize runs them (goal <= 5 ms).
//  The real program, Tovarel.scr /c:
//   - exec to the dialog fully painted (goal <= 250 ms);
//   - CPU while idle with its three hover timers, over 10 s (goal < 0.2 %
//     of a core), and what its X server spends meanwhile.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "saver/dialog/lumora_p.h"
#include "saver/settings_vars.h"
#include "saver/toolkit/qt/qt_application.h"
#include "saver/toolkit/x11/zoom_outline.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

// Last: Xlib's macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

const char* Verdict(bool met) { return met ? "met" : "missed"; }

void RunEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void InProcess(toolkit::qt::QtApplication& app) {
  saver::BgmKind = 0;
  dialog::Lumora_P settings(app);
  QTimer::singleShot(0, [&] {
    RunEventsFor(500);
    Display* x = app.XDisplay();
    xclient::MovePointer(x, 0, 0);  // away from the dialog
    button::Command& set = *settings.Cmd_Set;
    button::Command& cancel = *settings.Cmd_Can;

    constexpr int kPaints = 2000;
    auto start = Clock::now();
    for (int i = 0; i < kPaints; ++i) set.PaintFace(button::Look::Normal);
    const double paintMs = MsSince(start) / kPaints;
    RunEventsFor(100);
    std::printf("PaintFace 77x25 (Qt surface):        %.3f ms  [goal <= 0.5 ms: %s]\n", paintMs,
                Verdict(paintMs <= 0.5));

    // A tick is the first of its pass of the event loop (it reads the
    // pointer from the server) or a later one (the three timers tick in one
    // pass; the others reuse that reading). Best of five batches, as other
    // programs share the machine; one bare round trip as a yardstick.
    constexpr int kTicks = 2000;
    const auto dialogAt = app.WindowRect(settings.Form().Handle()).value_or(toolkit::ScreenRect{});
    auto newPass = [] { QCoreApplication::sendPostedEvents(); };
    for (const bool overDialog : {false, true}) {
      xclient::MovePointer(x, overDialog ? dialogAt.left + 300 : 0, overDialog ? dialogAt.top + 232 : 0);
      newPass();
      const unsigned long requestsBefore = XNextRequest(x);
      cancel.TimerTick();
      const unsigned long requestsFirst = XNextRequest(x) - requestsBefore;
      cancel.TimerTick();
      const unsigned long requestsLater = XNextRequest(x) - requestsBefore - requestsFirst;
      const std::uint64_t paintsBefore = cancel.paintCount;
      double firstUs = 1e9, laterUs = 1e9, roundTripUs = 1e9;
      for (int batch = 0; batch < 5; ++batch) {
        start = Clock::now();
        for (int i = 0; i < kTicks; ++i) newPass();
        const double passesMs = MsSince(start);
        start = Clock::now();
        for (int i = 0; i < kTicks; ++i) {
          newPass();
          cancel.TimerTick();
        }
        firstUs = std::min(firstUs, (MsSince(start) - passesMs) * 1000 / kTicks);
        start = Clock::now();
        for (int i = 0; i < kTicks; ++i) cancel.TimerTick();
        laterUs = std::min(laterUs, MsSince(start) * 1000 / kTicks);
        start = Clock::now();
        for (int i = 0; i < kTicks; ++i) XSync(x, False);
        roundTripUs = std::min(roundTripUs, MsSince(start) * 1000 / kTicks);
      }
      std::printf("TmrMouse tick, nothing to do, pointer %s:\n"
                  "  first of its pass %.1f us (%lu X request), later ones %.2f us (%lu); faces painted %llu; "
                  "one bare round trip %.1f us  [goal <= 20 us: %s]\n",
                  overDialog ? "over the dialog" : "off the dialog", firstUs, requestsFirst, laterUs, requestsLater,
                  static_cast<unsigned long long>(cancel.paintCount - paintsBefore), roundTripUs,
                  Verdict(firstUs <= 20));
    }
    xclient::MovePointer(x, 0, 0);
    RunEventsFor(200);
    const unsigned long idleBefore = XNextRequest(x);
    RunEventsFor(2000);
    std::printf("idle dialog, 3 hover timers:         %.1f X requests a second\n", (XNextRequest(x) - idleBefore) / 2.0);

    // Another client covers the dialog and goes, again and again.
    PaintCounter counter;
    for (button::Command* b : {&set, &cancel, settings.Cmd_File0.get()}) {
      if (QWidget* w = QWidget::find(static_cast<WId>(b->Control().Handle()))) w->installEventFilter(&counter);
    }
    const std::uint64_t faces = set.paintCount + cancel.paintCount + settings.Cmd_File0->paintCount;
    Display* other = XOpenDisplay(nullptr);
    const auto at = app.WindowRect(settings.Form().Handle()).value_or(toolkit::ScreenRect{});
    const Window cover =
        XCreateSimpleWindow(other, DefaultRootWindow(other), at.left, at.top, at.Width(), at.Height(), 0, 0, 0);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    XChangeWindowAttributes(other, cover, CWOverrideRedirect, &attributes);
    constexpr int kExposes = 30;
    const Window root = DefaultRootWindow(other);
    auto dialogPixels = [&] {
      return xclient::CaptureArea(other, root, at.left, at.top, at.Width(), at.Height()).value_or(xclient::Image{}).rgb;
    };
    const std::vector<std::uint8_t> shown = dialogPixels();
    int covered = 0, restored = 0;
    for (int i = 0; i < kExposes; ++i) {
      XMapRaised(other, cover);
      XSync(other, False);
      RunEventsFor(15);
      covered += dialogPixels() != shown;
      XUnmapWindow(other, cover);
      XSync(other, False);
      RunEventsFor(15);
      restored += dialogPixels() == shown;
    }
    XDestroyWindow(other, cover);
    XCloseDisplay(other);
    const std::uint64_t facesAfter = set.paintCount + cancel.paintCount + settings.Cmd_File0->paintCount;
    std::printf("dialog covered and uncovered %d times: covered %d, shown again %d; %d paint events of the buttons, "
                "%llu faces painted  [goal: no face painted: %s]\n",
                kExposes, covered, restored, counter.paints, static_cast<unsigned long long>(facesAfter - faces),
                Verdict(facesAfter == faces));

    constexpr int kPasses = 200;
    start = Clock::now();
    for (int i = 0; i < kPasses; ++i) settings.Resize();
    const double passesMs = MsSince(start) / kPasses;
    std::printf("both gradient passes (resize):       %.3f ms  [goal <= 5 ms: %s]\n", passesMs, Verdict(passesMs <= 5));
    settings.Cancel();
  });
  settings.ShowModal();
}

// --- the real program

pid_t StartDialog(const std::string& program) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl(program.c_str(), program.c_str(), "/c", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

void EndDialog(Display* display, pid_t pid) {
  if (auto window = xclient::FindWindowByTitle(display, "<Tovarel>")) xclient::SendDeleteWindow(display, *window);
  for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

struct Opening {
  double mapped = -1;   // ms from exec until the window is on screen
  double painted = -1;  // ms from exec until it shows what it shows a second later
};

Opening ExecToPainted(Display* display, const std::string& program) {
  Opening opening;
  const auto start = Clock::now();
  const pid_t pid = StartDialog(program);
  std::vector<std::pair<double, std::vector<std::uint8_t>>> shots;
  Window dialog = 0;
  while (MsSince(start) < 1500) {
    if (dialog == 0) {
      if (auto found = xclient::FindWindowByTitle(display, "<Tovarel>"); found && xclient::IsMapped(display, *found)) {
        dialog = *found;
        opening.mapped = MsSince(start);
      }
      continue;
    }
    if (auto shot = xclient::Capture(display, dialog)) shots.emplace_back(MsSince(start), std::move(shot->rgb));
  }
  EndDialog(display, pid);
  if (shots.empty()) return opening;
  std::size_t first = shots.size() - 1;
  while (first > 0 && shots[first - 1].second == shots.back().second) --first;
  opening.painted = shots[first].first;
  return opening;
}

std::uint64_t CpuNs(pid_t pid) {
  // Every thread's time on a CPU, in nanoseconds.
  std::uint64_t total = 0;
  std::error_code ignored;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
    std::ifstream in(task.path() / "schedstat");
    std::uint64_t ns = 0;
    if (in >> ns) total += ns;
  }
  return total;
}

void Program(pid_t server) {
  const fs::path folder = fs::temp_directory_path() / ("tovarel-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  fs::copy_file(TOVAREL_SCR, folder / "Tovarel.scr", fs::copy_options::overwrite_existing);
  fs::copy_file(TOVAREL_DLL, folder / "Tovarel.dll", fs::copy_options::overwrite_existing);
  const std::string program = (folder / "Tovarel.scr").string();
  Display* display = XOpenDisplay(nullptr);
  xclient::MovePointer(display, 0, 0);

  ExecToPainted(display, program);  // warm the caches
  std::vector<double> painted, mapped;
  for (int i = 0; i < 10; ++i) {
    const Opening opening = ExecToPainted(display, program);
    painted.push_back(opening.painted);
    mapped.push_back(opening.mapped);
  }
  const double median = Median(painted);
  std::printf("/c exec to dialog fully painted:     median %.0f ms, best %.0f (on screen at %.0f ms; the zoom before "
              "it takes %d ms)  [goal <= 250 ms: %s]\n",
              median, *std::min_element(painted.begin(), painted.end()), Median(mapped),
              toolkit::x11::kZoomSteps * toolkit::x11::kZoomStepMs, Verdict(median <= 250));

  const pid_t pid = StartDialog(program);
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  const std::uint64_t own = CpuNs(pid), xvfb = CpuNs(server);
  std::this_thread::sleep_for(std::chrono::seconds(10));
  const double ownShare = (CpuNs(pid) - own) / 1e9 / 10 * 100;
  const double xvfbShare = (CpuNs(server) - xvfb) / 1e9 / 10 * 100;
  std::printf("idle dialog, 3 hover timers, 10 s:   %.3f %% of a core (its X server: %.3f %%)  [goal < 0.2 %%: %s]\n",
              ownShare, xvfbShare, Verdict(ownShare < 0.2));
  EndDialog(display, pid);
  XCloseDisplay(display);
  fs::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  testsupport::XvfbServer xvfb("1024x768x24");
  if (!xvfb.Running()) return 1;
  {
    toolkit::qt::QtApplication app(argc, argv);
    if (app.Gui() == nullptr) return 1;
    InProcess(app);
  }
  Program(xvfb.Pid());
  return 0;
}
