// Start-up under xscreensaver: from "xscreensaver-command -select N" to the
// first frame swapped in the daemon's window, for our hack (the host and its
// renderer) and for a stock xscreensaver GL hack, alternately in one run on
// a private Xvfb. A preloaded probe reports each process's first buffer
// swap (glXSwapBuffers or eglSwapBuffers). xscreensaver starts no hacks as root: it runs as "nobody"
// then.
//   xscreensaver_bench [rounds] [stock hack, default gears]
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

long long NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct Setup {
  std::string work, home, runtime, log, programs;
  std::string asUser;  // the command prefix that runs as the daemon's user

  std::string Run(const std::string& command) const {
    return asUser + "env HOME=" + Quoted(home) + " XDG_RUNTIME_DIR=" + Quoted(runtime) +
           " XDG_CONFIG_HOME=" + Quoted(home + "/.config") + " DISPLAY=" + std::getenv("DISPLAY") + " " + command;
  }
};

// The first swap of a process of that program file after `since`, in ns.
long long FirstSwap(const std::string& log, const std::string& program, long long since) {
  std::ifstream in(log);
  std::string name;
  long long pid = 0, at = 0;
  while (in >> name >> pid >> at) {
    if (name == program && at > since) return at;
  }
  return 0;
}

bool Running(const std::string& programsFolder, const std::string& stock) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
    if (error) continue;
    if (exe.parent_path() == programsFolder || exe.filename() == stock) {
      std::ifstream status(entry.path() / "status");
      std::string line;
      while (std::getline(status, line))
        if (line.rfind("State:", 0) == 0 && line.find('Z') == std::string::npos) return true;
    }
  }
  return false;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const std::string stock = argc > 2 ? argv[2] : "gears";
  const std::string stockPath = "/usr/libexec/xscreensaver/" + stock;
  if (access(stockPath.c_str(), X_OK) != 0 || std::system("command -v xscreensaver >/dev/null") != 0) {
    std::fprintf(stderr, "xscreensaver and its GL hacks (xscreensaver-gl) are needed\n");
    return 1;
  }
  testsupport::XvfbServer xvfb("1024x768x24");
  if (!xvfb.Running()) return 1;

  Setup setup;
  char pattern[] = "/tmp/tovarel-xss-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 1;
  setup.work = pattern;
  setup.home = setup.work + "/home";
  setup.runtime = setup.work + "/runtime";
  setup.log = setup.work + "/swaps.log";
  setup.programs = setup.work + "/programs";
  for (const std::string& dir : {setup.home, setup.runtime, setup.programs}) fs::create_directories(dir);
  chmod(setup.work.c_str(), 0755);
  chmod(setup.programs.c_str(), 0755);
  chmod(setup.runtime.c_str(), 0700);
  fs::create_directory(setup.programs + "/music");
  for (const char* file : {"Tovarel.scr", "Tovarel.dll", "music/tovarel-music.so"})
    fs::copy_file(std::string(TOVAREL_BIN_DIR) + "/" + file, setup.programs + "/" + file);
  std::ofstream(setup.log).close();
  chmod(setup.log.c_str(), 0666);
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) return 1;
    for (const std::string& dir : {setup.home, setup.runtime})
      if (chown(dir.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return 1;
    setup.asUser = "setpriv --reuid=" + std::to_string(nobody->pw_uid) + " --regid=" +
                   std::to_string(nobody->pw_gid) + " --clear-groups ";
  }
  std::ofstream(setup.home + "/.xscreensaver")
      << "timeout: 0:30:00\ncycle: 0:00:00\nlock: False\nsplash: False\nfade: False\nunfade: False\n"
         "dpmsEnabled: False\nmode: one\nselected: 0\nprograms: \\\n"
         "  GL: " << setup.programs << "/Tovarel.scr -root \\n\\\n"
         "  GL: " << stock << " -root \\n\\\n";

  const std::string daemon = setup.Run("env LD_PRELOAD=" + Quoted(TOVAREL_FIRST_SWAP_PROBE) + " TOVAREL_SWAP_LOG=" +
                                       Quoted(setup.log) + " xscreensaver -no-splash >/dev/null 2>&1 &");
  if (std::system(daemon.c_str()) != 0) return 1;
  for (int i = 0; i < 200 && std::system(setup.Run("xscreensaver-command -time >/dev/null 2>&1").c_str()) != 0; ++i)
    std::this_thread::sleep_for(100ms);

  std::vector<double> ours, theirs;
  for (int round = 0; round < rounds * 2; ++round) {
    const bool tovarel = round % 2 == 0;
    const long long sent = NowNs();
    const std::string select = "xscreensaver-command -select " + std::to_string(tovarel ? 1 : 2) + " >/dev/null 2>&1";
    if (std::system(setup.Run(select).c_str()) != 0) continue;
    long long first = 0;
    for (int i = 0; i < 300 && first == 0; ++i) {
      std::this_thread::sleep_for(10ms);
      first = FirstSwap(setup.log, tovarel ? "Tovarel.dll" : stock, sent);
    }
    if (first != 0) (tovarel ? ours : theirs).push_back((first - sent) / 1e6);
    std::this_thread::sleep_for(500ms);
    // A daemon already idle answers with a failure; the next round waits anyway.
    [[maybe_unused]] const int deactivated =
        std::system(setup.Run("xscreensaver-command -deactivate >/dev/null 2>&1").c_str());
    for (int i = 0; i < 300 && Running(setup.programs, stock); ++i) std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(300ms);
  }
  [[maybe_unused]] const int exited = std::system(setup.Run("xscreensaver-command -exit >/dev/null 2>&1").c_str());

  auto report = [](const char* what, const std::vector<double>& ms) {
    std::ostringstream all;
    for (double value : ms) all << " " << static_cast<int>(value + 0.5);
    std::printf("%-34s median %6.1f ms  best %6.1f ms  (%zu runs:%s)\n", what, Median(ms),
                ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end()), ms.size(), all.str().c_str());
  };
  std::printf("xscreensaver -select to the first frame swapped in its window (Xvfb 1024x768, Mesa llvmpipe)\n");
  report("tovarel (host + renderer)", ours);
  report((stock + " (stock GL hack)").c_str(), theirs);
  std::error_code ignored;
  fs::remove_all(setup.work, ignored);
  return ours.empty() || theirs.empty() ? 1 : 0;
}
