// The whole saver end to end: Tovarel.scr /s with the real renderer on a
// private Xvfb, real GStreamer playing into a private PulseAudio null sink
// whose monitor the test records, and /p drawing into a window of the test.
// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "tests/support/wait_for.h"
#include "tests/support/child_process.h"
#include "tests/support/pulse_server.h"
#include "x11/window_lookup.h"
#include "tests/saver/music/audio_fixtures.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/x11/settings_bytes.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testsupport::ChildProcess;

constexpr int kRate = 44100;

using testsupport::WaitFor;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Loudness of each 20 ms of a stereo recording.
std::vector<double> Loudness(const std::vector<std::int16_t>& samples) {
  const std::size_t window = kRate / 50 * 2;
  std::vector<double> out;
  for (std::size_t at = 0; at + window <= samples.size(); at += window) {
    out.push_back(music::test::Rms(std::span(samples).subspan(at, window)));
  }
  return out;
}

constexpr double kSounding = 1000;
constexpr double kSilent = 30;

struct Sound {
  double firstSound = -1;   // seconds into the recording
  double longestGap = 0;    // longest silence between sounds, seconds
  double soundingShare = 0; // of the windows from the first sound on
};

Sound Analyse(const std::vector<std::int16_t>& samples) {
  Sound sound;
  const std::vector<double> loud = Loudness(samples);
  int first = -1, lastSound = -1, sounding = 0;
  for (int i = 0; i < static_cast<int>(loud.size()); ++i) {
    if (loud[i] < kSounding) continue;
    if (first < 0) first = i;
    if (lastSound >= 0) sound.longestGap = std::max(sound.longestGap, (i - lastSound - 1) * 0.02);
    lastSound = i;
  }
  if (first < 0) return sound;
  for (int i = first; i < static_cast<int>(loud.size()); ++i) sounding += loud[i] >= kSounding;
  sound.firstSound = first * 0.02;
  sound.soundingShare = static_cast<double>(sounding) / (loud.size() - first);
  return sound;
}

bool Silent(const std::vector<std::int16_t>& samples) {
  for (double level : Loudness(samples)) {
    if (level > kSilent) return false;
  }
  return true;
}

class SaverProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    xvfb_ = new testsupport::XvfbServer("1024x768x24");
    pulse_ = new testsupport::PulseServer();
  }
  static void TearDownTestSuite() {
    delete pulse_;
    delete xvfb_;
  }

  void SetUp() override {
    ASSERT_TRUE(xvfb_->Running());
    ASSERT_TRUE(pulse_->Running()) << "pulseaudio could not be started";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    // The programs lie side by side in a folder of their own.
    fs::copy_file(TOVAREL_SCR_PATH, folder_.File("Tovarel.scr"));
    fs::copy_file(TOVAREL_DLL_PATH, folder_.File("Tovarel.dll"));
    fs::create_directory(folder_.File("music"));
    fs::copy_file(TOVAREL_MUSIC_MODULE_PATH, folder_.File("music/tovarel-music.so"));
  }
  void TearDown() override {
    if (host_.Running()) host_.Signal(SIGKILL);
    host_.Wait(5);
    // Any renderer left over would spoil the next case.
    if (auto window = xclient::FindWindowByTitle(display_, "Lumora_VC")) xclient::SendDeleteWindow(display_, *window);
    WaitFor([&] { return !RendererWindow(); }, 5);
    if (display_) XCloseDisplay(display_);
  }

  // Tovarel.ini in code page 932, as the dialog writes it.
  void WriteSettings(int kind, const std::string& file, int repeat = 0) {
    testsupport::WriteBytes(folder_.File("Tovarel.ini"), testsupport::SettingsBytes(kind, repeat, file));
  }
  std::string Tone(const std::string& name, double seconds, int hertz) {
    const std::string wav = folder_.File(name + ".wav");
    EXPECT_TRUE(music::test::MakeToneWav(wav, seconds, hertz));
    if (name.ends_with(".mp3")) {
      const std::string mp3 = folder_.File(name);
      EXPECT_TRUE(music::test::WavToMp3(wav, mp3));
      return mp3;
    }
    return wav;
  }
  void Start(const std::vector<std::string>& args = {"/s"}) {
    ASSERT_TRUE(host_.Start(folder_.File("Tovarel.scr"), args));
  }
  bool RendererWindow() { return x11::WindowWithTitleExists(display_, "Lumora_VC"); }
  // Until the renderer's window is on screen, where keys reach it.
  bool WaitForRenderer(double seconds = 30) {
    return WaitFor([&] {
      auto window = xclient::FindWindowByTitle(display_, "Lumora_VC");
      return window && xclient::IsMapped(display_, *window);
    }, seconds);
  }

  // Escape in the renderer; the seconds from its window's end to the host's.
  double EscapeAndTimeHostExit() {
    EXPECT_TRUE(xclient::TapKey(display_, "Escape"));
    EXPECT_TRUE(WaitFor([&] { return !RendererWindow(); }, 10));
    const auto gone = Clock::now();
    EXPECT_EQ(host_.Wait(10), 0);
    return SecondsSince(gone);
  }
  std::vector<std::int16_t> Record(double seconds) {
    pulse_->StartRecording();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return pulse_->StopRecording();
  }

  static testsupport::XvfbServer* xvfb_;
  static testsupport::PulseServer* pulse_;
  testsupport::TempDir folder_;
  Display* display_ = nullptr;
  ChildProcess host_;
};

testsupport::XvfbServer* SaverProcess::xvfb_ = nullptr;
testsupport::PulseServer* SaverProcess::pulse_ = nullptr;

TEST_F(SaverProcess, Mp3PlaysRestartsAfterItsEndAndStopsWithEscape) {
  WriteSettings(2, Tone("tone.mp3", 1.5, 440));
  pulse_->StartRecording();
  Start();
  ASSERT_TRUE(WaitForRenderer());
  std::this_thread::sleep_for(std::chrono::milliseconds(6000));
  const std::vector<std::int16_t> during = pulse_->StopRecording();
  const Sound sound = Analyse(during);
  ASSERT_GE(sound.firstSound, 0) << "no sound";
  const double hertz = music::test::ToneFrequency(
      std::span(during).subspan(static_cast<std::size_t>((sound.firstSound + 0.3) * kRate) * 2, kRate / 2 * 2));
  EXPECT_NEAR(hertz, 440, 15);
  // A 1.5 s file heard for more than 3 s: it came back, after less than the
  // repeat timer's second (plus the pipeline's start).
  EXPECT_GT(sound.soundingShare, 0.6);
  EXPECT_LT(sound.longestGap, 1.3);
  EXPECT_GT(during.size() / 2.0 / kRate - sound.firstSound, 3.0);

  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
  EXPECT_TRUE(Silent(Record(1.0))) << "music after the end of the run";
}

TEST_F(SaverProcess, WavLoopsByItself) {
  WriteSettings(2, Tone("loop.WAV", 0.8, 660));
  Start();
  ASSERT_TRUE(WaitForRenderer());
  const std::vector<std::int16_t> during = Record(3.0);
  const Sound sound = Analyse(during);
  ASSERT_GE(sound.firstSound, 0) << "no sound";
  EXPECT_GT(sound.soundingShare, 0.9) << "a looping WAV has no gaps of the program's own";
  EXPECT_NEAR(music::test::ToneFrequency(std::span(during).subspan(
                  static_cast<std::size_t>((sound.firstSound + 0.1) * kRate) * 2, kRate / 4 * 2)),
              660, 20);
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
  EXPECT_TRUE(Silent(Record(0.8)));
}

TEST_F(SaverProcess, AudioCdWithoutADriveRunsSilently) {
  WriteSettings(1, "", 3);
  Start();
  ASSERT_TRUE(WaitForRenderer());
  EXPECT_TRUE(Silent(Record(1.0)));
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
}

TEST_F(SaverProcess, EmptyCommandLineRunsTheSaverToo) {
  WriteSettings(0, "");
  Start({});
  ASSERT_TRUE(WaitForRenderer());
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
}

TEST_F(SaverProcess, ASlowRendererIsWaitedFor) {
  fs::remove(folder_.File("Tovarel.dll"));
  testsupport::WriteBytes(folder_.File("Tovarel.dll"),
                          std::string("#!/bin/sh\nsleep 2\nexec '") + TOVAREL_DLL_PATH + "'\n");
  chmod(folder_.File("Tovarel.dll").c_str(), 0755);
  WriteSettings(0, "");
  Start();
  ASSERT_TRUE(WaitForRenderer());
  EXPECT_TRUE(host_.Running());
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
}

TEST_F(SaverProcess, ARendererThatCannotRunEndsTheRunAndTheMusic) {
  for (const auto mode : {0644, 0755}) {  // not executable; executable but no program
    fs::remove(folder_.File("Tovarel.dll"));
    testsupport::WriteBytes(folder_.File("Tovarel.dll"), "no program here\n");
    chmod(folder_.File("Tovarel.dll").c_str(), static_cast<mode_t>(mode));
    WriteSettings(2, Tone("tone.mp3", 3, 440));
    const auto start = Clock::now();
    ChildProcess host;
    ASSERT_TRUE(host.Start(folder_.File("Tovarel.scr"), {"/s"}));
    EXPECT_EQ(host.Wait(15), 0);
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_FALSE(RendererWindow());
    EXPECT_TRUE(Silent(Record(0.6)));
  }
}

TEST_F(SaverProcess, AKilledRendererEndsTheRunWithinATick) {
  WriteSettings(2, Tone("tone.mp3", 3, 440));
  Start();
  ASSERT_TRUE(WaitForRenderer());
  auto window = xclient::FindWindowByTitle(display_, "Lumora_VC");
  ASSERT_TRUE(window);
  Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
  Atom type;
  int format;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(display_, *window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data),
            Success);
  ASSERT_EQ(count, 1u);
  const pid_t renderer = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
  XFree(data);
  ASSERT_EQ(kill(renderer, SIGKILL), 0);
  const auto killed = Clock::now();
  EXPECT_EQ(host_.Wait(10), 0);
  EXPECT_LT(SecondsSince(killed), 2.0);
  EXPECT_TRUE(Silent(Record(0.6)));
}

TEST_F(SaverProcess, ACorruptMusicFileGivesSilenceAndTheRunGoesOn) {
  testsupport::WriteBytes(folder_.File("broken.mp3"), std::string(4096, '\x5A'));
  WriteSettings(2, folder_.File("broken.mp3"));
  Start();
  ASSERT_TRUE(WaitForRenderer());
  EXPECT_TRUE(Silent(Record(1.5)));
  EXPECT_TRUE(host_.Running());
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
}

TEST_F(SaverProcess, WithoutItsMusicModuleTheRunGoesOnSilently) {
  fs::remove(folder_.File("music/tovarel-music.so"));
  WriteSettings(2, Tone("tone.mp3", 3, 440));
  Start();
  ASSERT_TRUE(WaitForRenderer());
  EXPECT_TRUE(Silent(Record(1.5)));
  EXPECT_TRUE(host_.Running());
  EXPECT_LT(EscapeAndTimeHostExit(), 2.0);
}

TEST_F(SaverProcess, TerminatingTheHostStopsTheMusicAndTheRenderer) {
  WriteSettings(2, Tone("tone.mp3", 3, 440));
  Start();
  ASSERT_TRUE(WaitForRenderer());
  ASSERT_TRUE(WaitFor([&] { return !Silent(Record(0.3)); }, 5)) << "no music to stop";
  host_.Signal(SIGTERM);
  EXPECT_EQ(host_.Wait(10), 0);
  EXPECT_TRUE(WaitFor([&] { return !RendererWindow(); }, 5)) << "the renderer outlived its host";
  EXPECT_TRUE(Silent(Record(0.6)));
}

// --- the preview

// The embedded still, as RGB rows top-down.
xclient::Image PreviewPicture() {
  std::ifstream in(TOVAREL_PREVIEW_BMP, std::ios::binary);
  std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](std::size_t at) { return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | d[at + 3] << 24; };
  xclient::Image image;
  image.width = static_cast<int>(u32(18));
  image.height = static_cast<int>(u32(22));
  const std::size_t stride = (image.width * 3 + 3) & ~3u;
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row = u32(10) + (image.height - 1 - y) * stride;
    for (int x = 0; x < image.width; ++x) {
      for (int c = 2; c >= 0; --c) image.rgb.push_back(d[row + x * 3 + c]);
    }
  }
  return image;
}

class PreviewProcess : public SaverProcess {};

TEST_F(PreviewProcess, DrawsTheStillAtTheTopLeftOfTheHostAndEndsWithIt) {
  const xclient::Image still = PreviewPicture();
  ASSERT_EQ(still.width, 152);
  for (const auto& [w, h] : {std::pair{152, 112}, {200, 150}}) {
    const Window host = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 40, 40, w, h, 0, 0,
                                            WhitePixel(display_, 0));
    XMapWindow(display_, host);
    XSync(display_, False);
    ChildProcess preview;
    ASSERT_TRUE(preview.Start(folder_.File("Tovarel.scr"), {"/p", std::to_string(host)}));
    std::optional<xclient::Image> shot;
    auto pictureShown = [&] {
      shot = xclient::Capture(display_, host);
      // The host's white is gone from the bottom-right corner too (the
      // still's own blue may reach 255 in one channel).
      const std::size_t last = shot ? shot->rgb.size() - 3 : 0;
      return shot && shot->rgb[0] == still.rgb[0] && shot->rgb[1] == still.rgb[1] &&
             shot->rgb[2] == still.rgb[2] &&
             !(shot->rgb[last] == 255 && shot->rgb[last + 1] == 255 && shot->rgb[last + 2] == 255);
    };
    ASSERT_TRUE(WaitFor(pictureShown, 20)) << w << "x" << h;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    shot = xclient::Capture(display_, host);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        for (int c = 0; c < 3; ++c) {
          const int got = shot->rgb[(y * w + x) * 3 + c];
          const int want = x < 152 && y < 112 ? still.rgb[(y * 152 + x) * 3 + c] : 0;
          wrong += got != want;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << w << "x" << h;
    XDestroyWindow(display_, host);
    XSync(display_, False);
    EXPECT_EQ(preview.Wait(10), 0) << "the preview outlived its host";
  }
}

TEST_F(PreviewProcess, AHandleThatNamesNoWindowEndsQuietly) {
  for (const std::string handle : {"12345", "abc", "99999999999", "-1"}) {
    ChildProcess preview;
    ASSERT_TRUE(preview.Start(folder_.File("Tovarel.scr"), {"/p", handle}));
    EXPECT_EQ(preview.Wait(10), 0) << handle;
    EXPECT_FALSE(x11::WindowWithTitleExists(display_, "Preview Window")) << handle;
  }
}

}  // namespace
