// The saver under the real idle daemons of Linux desktops, on a private
// Xvfb: xscreensaver 6 (one hack per monitor, each drawing in the daemon's
// window, all ended by -deactivate), xss-lock (tovarel /s when the X server
// reports the session idle) and xautolock. Also the run in a window of the test,
// with its music heard through a private PulseAudio and ended by SIGTERM.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/pulse_server.h"
#include "tests/packaging/command.h"
#include "tests/saver/music/audio_fixtures.h"
#include "tests/saver/support/temp_dir.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using packaging_test::RunCommand;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

bool Installed(const char* program) {
  return RunCommand({"sh", "-c", std::string("command -v ") + program}).exitCode == 0;
}

struct Running {
  pid_t pid = 0;
  pid_t parent = 0;
  std::string file;  // "Tovarel.scr" or "Tovarel.dll"
};

// The living processes (not zombies) whose program lies in the folder.
std::vector<Running> LivingFrom(const std::string& folder) {
  std::vector<Running> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
    if (error || exe.parent_path() != folder) continue;
    std::ifstream status(entry.path() / "status");
    Running process{static_cast<pid_t>(std::stol(name)), 0, exe.filename()};
    bool zombie = false;
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("State:", 0) == 0) zombie = line.find('Z') != std::string::npos;
      if (line.rfind("PPid:", 0) == 0) process.parent = static_cast<pid_t>(std::stol(line.substr(5)));
    }
    if (!zombie) found.push_back(process);
  }
  return found;
}

std::string Describe(const std::vector<Running>& processes) {
  std::string text = "still running:";
  for (const Running& p : processes) text += " " + p.file + "(" + std::to_string(p.pid) + ")";
  return text;
}

size_t Count(const std::vector<Running>& processes, const std::string& file) {
  size_t count = 0;
  for (const Running& p : processes) count += p.file == file;
  return count;
}

// Share of clearly blue pixels (the scene's sky) in a part of the screen.
double BlueShare(const xclient::Image& image, int left, int width) {
  size_t blue = 0, all = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = left; x < left + width; ++x) {
      const std::uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
      blue += p[2] > 150 && p[0] < 120;
      ++all;
    }
  }
  return all ? static_cast<double>(blue) / all : 0;
}

// The two programs side by side in a folder everyone may read and run.
class ProgramFolder {
 public:
  ProgramFolder() {
    chmod(dir_.Path().c_str(), 0755);
    fs::create_directory(dir_.File("music"));
    for (const char* file : {"Tovarel.scr", "Tovarel.dll", "music/tovarel-music.so"}) {
      fs::copy_file(std::string(TOVAREL_BIN_DIR) + "/" + file, dir_.File(file));
      chmod(dir_.File(file).c_str(), 0755);
    }
  }
  std::string Path() const { return dir_.Path(); }
  std::string File(const char* name) const { return dir_.File(name); }

 private:
  testsupport::TempDir dir_;
};

class IdleDaemon : public testing::Test {
 protected:
  void StartScreen(const std::string& screen) {
    xvfb = std::make_unique<testsupport::XvfbServer>(screen);
    ASSERT_TRUE(xvfb->Running());
    display = xclient::OpenDisplay();
    ASSERT_NE(display, nullptr);
    // Each test keeps its settings to itself.
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  }
  void TearDown() override {
    for (auto& child : children) {
      if (child->Running()) child->Signal(SIGTERM);
      child->Wait(5);
    }
    for (const Running& p : LivingFrom(programs.Path())) kill(p.pid, SIGKILL);
    xclient::CloseDisplay(display);
  }
  testsupport::ChildProcess& Start(const std::string& program, const std::vector<std::string>& args) {
    children.push_back(std::make_unique<testsupport::ChildProcess>());
    EXPECT_TRUE(children.back()->Start(program, args)) << program;
    return *children.back();
  }
  std::optional<xclient::Image> Screen() {
    return xclient::Capture(display, DefaultRootWindow(display));
  }
  bool NothingLeftWithin(std::chrono::milliseconds limit) {
    return WaitFor([&] { return LivingFrom(programs.Path()).empty(); }, limit);
  }

  ProgramFolder programs;
  testsupport::TempDir config;
  std::unique_ptr<testsupport::XvfbServer> xvfb;
  Display* display = nullptr;
  std::vector<std::unique_ptr<testsupport::ChildProcess>> children;
};

// --- xscreensaver

// xscreensaver launches no hacks as root: it runs as "nobody" then, with a
// home and a runtime folder of its own.
class Xscreensaver : public IdleDaemon {
 protected:
  void SetUp() override {
    if (!Installed("xscreensaver") || !Installed("xscreensaver-command"))
      GTEST_SKIP() << "xscreensaver is not installed (tools/install-deps.sh installs it)";
    if (geteuid() == 0) {
      const passwd* nobody = getpwnam("nobody");
      if (nobody == nullptr || !Installed("setpriv")) GTEST_SKIP() << "no user to run xscreensaver as";
      asUser = {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
      for (const auto* dir : {&home, &runtime}) {
        if (chown(dir->Path().c_str(), nobody->pw_uid, nobody->pw_gid) != 0) GTEST_SKIP() << "cannot chown";
      }
    }
    chmod(runtime.Path().c_str(), 0700);
    // One hack, ours, started at once; nothing else of the daemon's shows.
    std::ofstream(home.File(".xscreensaver"))
        << "timeout: 0:30:00\ncycle: 0:00:00\nlock: False\nsplash: False\nfade: False\nunfade: False\n"
           "dpmsEnabled: False\nmode: one\nselected: 0\n"
           "programs: GL: " << programs.File("Tovarel.scr") << " -root \\n\\\n";
  }
  std::vector<std::string> AsUser(const std::vector<std::string>& command) {
    std::vector<std::string> full = asUser;
    full.insert(full.end(), {"/usr/bin/env", "HOME=" + home.Path(), "XDG_RUNTIME_DIR=" + runtime.Path(),
                             "XDG_CONFIG_HOME=" + home.Path() + "/.config", "DISPLAY=" + xvfb->Display()});
    full.insert(full.end(), command.begin(), command.end());
    return full;
  }
  bool Command(const std::string& verb) {
    return RunCommand(AsUser({"xscreensaver-command", verb})).exitCode == 0;
  }
  void StartDaemon() {
    std::vector<std::string> command = AsUser({"xscreensaver", "-no-splash"});
    const std::string program = command.front();
    command.erase(command.begin());
    Start(program, command);
    ASSERT_TRUE(WaitFor([&] { return Command("-time"); }, 20s)) << "xscreensaver did not start";
  }

  std::vector<std::string> asUser;
  testsupport::TempDir home;
  testsupport::TempDir runtime;
};

TEST_F(Xscreensaver, ActivateShowsTheSceneAndDeactivateLeavesNothing) {
  StartScreen("1024x768x24");
  StartDaemon();
  ASSERT_TRUE(Command("-activate"));
  ASSERT_TRUE(WaitFor([&] { return Count(LivingFrom(programs.Path()), "Tovarel.dll") == 1; }, 20s));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto screen = Screen();
        return screen && BlueShare(*screen, 0, screen->width) > 0.5;
      },
      20s))
      << "no scene in the daemon's window";
  EXPECT_FALSE(xclient::FindWindowByTitle(display, "Lumora_VC")) << "a window of the renderer's own";

  ASSERT_TRUE(Command("-deactivate"));
  EXPECT_TRUE(NothingLeftWithin(2s)) << Describe(LivingFrom(programs.Path()));
}

// Two monitors: two hacks, each with its renderer; no copy refuses to run
// because another is running.
TEST_F(Xscreensaver, OneRendererForEachMonitor) {
  StartScreen("1600x600x24");
  ASSERT_EQ(std::system("xrandr --setmonitor left 800/211x600/158+0+0 screen >/dev/null 2>&1 && "
                        "xrandr --setmonitor right 800/211x600/158+800+0 none >/dev/null 2>&1"),
            0);
  StartDaemon();
  ASSERT_TRUE(Command("-activate"));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto living = LivingFrom(programs.Path());
        return Count(living, "Tovarel.scr") == 2 && Count(living, "Tovarel.dll") == 2;
      },
      20s));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto screen = Screen();
        return screen && BlueShare(*screen, 0, 800) > 0.5 && BlueShare(*screen, 800, 800) > 0.5;
      },
      20s))
      << "a monitor without the scene";
  ASSERT_TRUE(Command("-deactivate"));
  EXPECT_TRUE(NothingLeftWithin(2s)) << Describe(LivingFrom(programs.Path()));
}

// One copy per display plays the music, however many monitors the daemon
// runs a copy on; a settings preview (a small window) plays none.
TEST_F(Xscreensaver, OneMusicForAllMonitorsAndNoneInAPreview) {
  testsupport::PulseServer pulse;
  ASSERT_TRUE(pulse.Running()) << "pulseaudio could not be started";
  pulse.OpenToAllUsers();
  StartScreen("1600x600x24");
  ASSERT_EQ(std::system("xrandr --setmonitor left 800/211x600/158+0+0 screen >/dev/null 2>&1 && "
                        "xrandr --setmonitor right 800/211x600/158+800+0 none >/dev/null 2>&1"),
            0);
  const std::string tone = programs.File("tone.wav");
  ASSERT_TRUE(music::test::MakeToneWav(tone, 0.8, 550));
  chmod(tone.c_str(), 0644);
  testsupport::WriteBytes(programs.File("Tovarel.ini"),
                          "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xCC\xA7\xB2\xD9=" + tone + "\r\n");
  chmod(programs.File("Tovarel.ini").c_str(), 0644);
  // The most streams seen at once while the run goes on.
  auto mostStreams = [&](std::chrono::milliseconds span) {
    int most = 0;
    const auto end = Clock::now() + span;
    while (Clock::now() < end) {
      most = std::max(most, pulse.Streams());
      std::this_thread::sleep_for(50ms);
    }
    return most;
  };

  StartDaemon();
  ASSERT_TRUE(Command("-activate"));
  ASSERT_TRUE(WaitFor([&] { return Count(LivingFrom(programs.Path()), "Tovarel.dll") == 2; }, 20s));
  // GStreamer reads its plugins into the fresh home first.
  EXPECT_TRUE(WaitFor([&] { return pulse.Streams() > 0; }, 30s)) << "no music";
  EXPECT_EQ(mostStreams(3s), 1);
  ASSERT_TRUE(Command("-deactivate"));
  ASSERT_TRUE(NothingLeftWithin(2s)) << Describe(LivingFrom(programs.Path()));

  const Window preview = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0,
                                             BlackPixel(display, DefaultScreen(display)));
  XMapWindow(display, preview);
  XSync(display, False);
  std::vector<std::string> command = AsUser({programs.File("Tovarel.scr"), "-window-id", std::to_string(preview)});
  const std::string program = command.front();
  command.erase(command.begin());
  Start(program, command);
  ASSERT_TRUE(WaitFor([&] { return Count(LivingFrom(programs.Path()), "Tovarel.dll") == 1; }, 20s));
  EXPECT_EQ(mostStreams(4s), 0) << "music in a preview";
}

// --- xss-lock

// xss-lock asks systemd-logind for its session; test machines run none, so
// a stand-in serves that part of its interface on a private bus.
class XssLock : public IdleDaemon {
 protected:
  void SetUp() override {
    if (!Installed("xss-lock") || !Installed("dbus-daemon")) GTEST_SKIP() << "xss-lock or dbus-daemon missing";
    StartScreen("1024x768x24");
    const std::string bus = "unix:path=" + busDir.File("bus");
    Start("/usr/bin/dbus-daemon", {"--session", "--nofork", "--address=" + bus});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(busDir.File("bus")); }, 10s));
    setenv("DBUS_SYSTEM_BUS_ADDRESS", bus.c_str(), 1);
    Start(LOGIN_MANAGER_STAND_IN, {busDir.File("ready")});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(busDir.File("ready")); }, 10s));
    // The recipe: the X server's own idle time, and xss-lock running the saver.
    xclient::SetScreenSaverTimeout(display, 2);
    xssLock = &Start("/usr/bin/xss-lock", {"--", programs.File("Tovarel.scr"), "/s"});
    started = Clock::now();
  }
  void TearDown() override {
    IdleDaemon::TearDown();
    unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }
  bool SaverRuns() { return xclient::FindWindowByTitle(display, "Lumora_VC").has_value(); }

  testsupport::TempDir busDir;
  testsupport::ChildProcess* xssLock = nullptr;
  Clock::time_point started;
};

TEST_F(XssLock, RunsTheSaverWhenIdleInTheForegroundAndEscapeEndsIt) {
  ASSERT_TRUE(WaitFor([&] { return SaverRuns(); }, 20s)) << "no saver after the idle time";
  EXPECT_GE(Clock::now() - started, 1500ms) << "started before the session was idle";
  // A user looks before pressing a key: the first frames are drawn.
  std::this_thread::sleep_for(1s);
  // The host is xss-lock's own child: it did not fork away.
  const auto living = LivingFrom(programs.Path());
  ASSERT_EQ(Count(living, "Tovarel.scr"), 1u);
  for (const Running& p : living) {
    if (p.file == "Tovarel.scr") {
      EXPECT_EQ(p.parent, xssLock->Pid());
    }
  }

  ASSERT_TRUE(xclient::TapKey(display, "Escape", 200));
  // Those two end; the session, idle again, may soon start the next.
  EXPECT_TRUE(WaitFor(
      [&] {
        for (const Running& p : LivingFrom(programs.Path()))
          for (const Running& was : living)
            if (p.pid == was.pid) return false;
        return true;
      },
      3s));
  EXPECT_TRUE(xssLock->Running()) << "xss-lock waits for the next idle time";
}

TEST_F(XssLock, KillingTheHostTakesTheRendererWithIt) {
  ASSERT_TRUE(WaitFor([&] { return SaverRuns(); }, 20s));
  for (const Running& p : LivingFrom(programs.Path()))
    if (p.file == "Tovarel.scr") kill(p.pid, SIGKILL);
  EXPECT_TRUE(NothingLeftWithin(2s));
  EXPECT_TRUE(WaitFor([&] { return !SaverRuns(); }, 2s));
}

// --- xautolock

TEST_F(IdleDaemon, XautolockRunsTheSaverAndEscapeEndsIt) {
  if (!Installed("xautolock")) GTEST_SKIP() << "xautolock is not installed";
  StartScreen("1024x768x24");
  testsupport::ChildProcess& daemon =
      Start("/usr/bin/xautolock", {"-time", "10", "-locker", programs.File("Tovarel.scr") + " /s"});
  // Its shortest idle time is a minute: the test asks for the saver at once,
  // as the recipe's corner or hot key would. xautolock lets some of these
  // requests go unheard (no locker launched; several in a row on a loaded
  // machine), so it is asked again until the saver shows; the single-run
  // claim keeps a second locker from making a second run.
  ASSERT_TRUE(WaitFor(
      [&] {
        return RunCommand({"xautolock", "-locknow"}).exitCode == 0 &&
               WaitFor([&] { return xclient::FindWindowByTitle(display, "Lumora_VC").has_value(); }, 4s);
      },
      45s))
      << Describe(LivingFrom(programs.Path()));
  std::this_thread::sleep_for(1s);
  const auto living = LivingFrom(programs.Path());
  ASSERT_EQ(Count(living, "Tovarel.scr"), 1u);
  ASSERT_TRUE(xclient::TapKey(display, "Escape", 200));
  EXPECT_TRUE(NothingLeftWithin(3s)) << Describe(LivingFrom(programs.Path()));
  EXPECT_TRUE(daemon.Running());
}

// --- the run in a window, with its music

TEST_F(IdleDaemon, WindowRunPlaysTheMusicAndSigtermEndsItAll) {
  testsupport::PulseServer pulse;
  ASSERT_TRUE(pulse.Running()) << "pulseaudio could not be started";
  StartScreen("1024x768x24");
  const std::string tone = programs.File("tone.wav");
  ASSERT_TRUE(music::test::MakeToneWav(tone, 0.8, 550));
  testsupport::WriteBytes(programs.File("Tovarel.ini"),
                          "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xCC\xA7\xB2\xD9=" + tone + "\r\n");
  // Large enough not to be taken for a settings preview, which runs silent.
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0,
                                            BlackPixel(display, DefaultScreen(display)));
  XMapWindow(display, window);
  XSync(display, False);

  testsupport::ChildProcess& host = Start(programs.File("Tovarel.scr"), {"-window-id", std::to_string(window)});
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto image = xclient::Capture(display, window);
        return image && BlueShare(*image, 0, image->width) > 0.5;
      },
      20s));
  // GStreamer first reads its plugins into a fresh registry (the server's
  // home is new): the music may take seconds to begin.
  bool heard = false;
  for (int second = 0; second < 20 && !heard; ++second) {
    pulse.StartRecording();
    std::this_thread::sleep_for(1s);
    heard = music::test::Rms(pulse.StopRecording()) > 1000;
  }
  EXPECT_TRUE(heard) << "no music";

  const auto sent = Clock::now();
  ASSERT_TRUE(host.Signal(SIGTERM));
  EXPECT_TRUE(NothingLeftWithin(1s));
  EXPECT_LT(Clock::now() - sent, 1s);
  pulse.StartRecording();
  std::this_thread::sleep_for(600ms);
  EXPECT_LT(music::test::Rms(pulse.StopRecording()), 30) << "music after the end";
}

}  // namespace
