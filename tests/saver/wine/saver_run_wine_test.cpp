// Tovarel.scr /s and /p of the Windows build under Wine: the hidden run
// form, the renderer started and ended by Escape, the host's end after it,
// an MP3 run heard through ALSA, and the preview inside another program's
// window.
#include <dirent.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "tests/saver/music/audio_fixtures.h"
#include "tests/saver/wine/gui_wine_fixture.h"
#include "saver/common/code_page.h"
// Xlib after GoogleTest: it defines None, Bool and Status as macros.
#include <X11/Xlib.h>

#include "tools/xclient/x11_client.h"

namespace saver_gui_wine {
namespace {

// The Part's watch ticks every 500 ms; Wine's process end and a busy
// machine get a generous margin on top.
constexpr long long kWatchMs = 500;
constexpr long long kMarginMs = 2500;

// Linux processes whose command line names this Windows program.
std::vector<int> ProcessesOf(const std::string& windowsPath) {
  std::vector<int> found;
  DIR* proc = opendir("/proc");
  if (!proc) return found;
  while (dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream in("/proc/" + std::string(entry->d_name) + "/cmdline", std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (line.rfind(windowsPath, 0) == 0) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

class SaverRunWine : public GuiWineTest {
 protected:
  void WriteSettings(const std::string& kind, const std::string& file) {
    const std::string text = "[Section]\r\nBGM区分=" + kind + "\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ=" + file + "\r\n";
    std::ofstream(Ini(), std::ios::binary) << *common::Utf8ToCp932(text);
  }

  // Starts /s and waits for the renderer's window.
  wine_harness::WineProcess StartRun() {
    wine_harness::WineProcess run = session->Spawn(Scr(), {"/s"}, kProgramSeconds);
    EXPECT_TRUE(WaitUntil([&] { return XWindow("Lumora_VC") || !run.Running(); }, 60s));
    EXPECT_TRUE(XWindow("Lumora_VC")) << run.Output();
    return run;
  }

  // Escape in the renderer; returns the time from its window's end to the
  // host's, or -1 when either did not end.
  long long EscapeAndTimeTheEnd(wine_harness::WineProcess& run) {
    EXPECT_TRUE(wine_harness::WaitForFocus(DisplayName(), "Lumora_VC", 30000));
    EXPECT_TRUE(wine_harness::HoldKey(DisplayName(), "Escape", 200));
    if (!WaitUntil([&] { return !XWindow("Lumora_VC"); }, 30s)) return -1;
    const auto rendererGone = Clock::now();
    if (!WaitUntil([&] { return !run.Running(); }, 30s)) return -1;
    return MsSince(rendererGone);
  }
};

TEST_F(SaverRunWine, HiddenRunFormHoldsTheRunUntilEscapeEndsTheRenderer) {
  wine_harness::WineProcess run = StartRun();
  // The renderer beside the program is what runs.
  EXPECT_EQ(ProcessesOf(wine_harness::WindowsPath(folder + "/Tovarel.dll")).size(), 1u);
  ProbeFields found = Windows({"find", "Lumora_Main", "Lumora_VC", "Lumora_Main "});
  EXPECT_EQ(ProbeField(found, "found1"), "1");  // FindWindowA(NULL, "Lumora_Main")
  EXPECT_EQ(ProbeField(found, "found2"), "1");
  EXPECT_EQ(ProbeField(found, "found3"), "0");  // titles are exact
  ProbeFields form = Windows({"window", "Lumora_Main"});
  EXPECT_EQ(ProbeField(form, "visible"), "0");  // never shown
  EXPECT_TRUE(run.Running());

  const long long hostAfterRenderer = EscapeAndTimeTheEnd(run);
  std::printf("renderer window gone -> host gone: %lld ms\n", hostAfterRenderer);
  ASSERT_GE(hostAfterRenderer, 0) << run.Output();
  EXPECT_LE(hostAfterRenderer, kWatchMs + kMarginMs);
  EXPECT_EQ(run.Wait(1000), 0);
  EXPECT_TRUE(ProcessesOf(wine_harness::WindowsPath(folder + "/Tovarel.dll")).empty());
  EXPECT_EQ(ProbeField(Windows({"find", "Lumora_Main"}), "found1"), "0");
  EXPECT_FALSE(MessageBoxShown());
}

// A 1280 x 1024 desktop whose monitor also offers the renderer's mode.
class SaverRunLargeScreenWine : public SaverRunWine {
 protected:
  wine_harness::ScreenSize Screen() const override { return {1280, 1024}; }
  void SetUp() override {
    SaverRunWine::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const std::string xrandr = "DISPLAY=" + DisplayName() + " xrandr";
    // The mode may be there already: the session is shared.
    if (std::system((xrandr + " --newmode tovarel1024 60 1024 1048 1184 1344 768 771 777 806 >/dev/null 2>&1").c_str()) != 0) {
    }
    ASSERT_EQ(std::system((xrandr + " --addmode screen tovarel1024 >/dev/null 2>&1").c_str()), 0);
  }
  std::pair<int, int> XScreen() const {
    Display* display = XOpenDisplay(DisplayName().c_str());
    if (display == nullptr) return {0, 0};
    const auto size = xclient::ScreenSize(display);
    XCloseDisplay(display);
    return size ? std::pair{size->width, size->height} : std::pair{0, 0};
  }
};

// Killing the renderer has the effect of Escape, at once rather than at the
// next tick, the desktop's mode too (a killed process cannot put it back);
// killing the host takes its renderer with it (its job), so no full-screen
// renderer runs on without its host.
TEST_F(SaverRunLargeScreenWine, KillingEitherProgramEndsBoth) {
  WriteSettings(" 0", "");
  const std::string renderer = wine_harness::WindowsPath(folder + "/Tovarel.dll");
  {
    wine_harness::WineProcess run = StartRun();
    ASSERT_TRUE(WaitUntil([&] { return XScreen() == std::pair{1024, 768}; }, 30s)) << "no switch to kill";
    const std::vector<int> renderers = ProcessesOf(renderer);
    ASSERT_EQ(renderers.size(), 1u);
    ASSERT_EQ(kill(renderers[0], SIGKILL), 0);
    EXPECT_EQ(run.Wait(kWatchMs + kMarginMs), 0) << run.Output();
    EXPECT_EQ(XScreen(), (std::pair{1280, 1024}));
  }
  {
    wine_harness::WineProcess run = StartRun();
    run.Kill();
    EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(renderer).empty(); }, 10s)) << "the renderer outlived its host";
    EXPECT_TRUE(WaitUntil([&] { return !XWindow("Lumora_VC"); }, 10s));
  }
}

// Copies started at the same moment both pass the title check; the claim in
// front of it lets one through, and the other ends quietly.
TEST_F(SaverRunWine, TwoRunsStartedTogetherGiveOneRenderer) {
  WriteSettings(" 0", "");
  const std::string renderer = wine_harness::WindowsPath(folder + "/Tovarel.dll");
  for (int round = 0; round < 3; ++round) {
    wine_harness::WineProcess first = session->Spawn(Scr(), {"/s"}, kProgramSeconds);
    wine_harness::WineProcess second = session->Spawn(Scr(), {"/s"}, kProgramSeconds);
    ASSERT_TRUE(WaitUntil([&] { return XWindow("Lumora_VC"); }, 60s)) << round;
    ASSERT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); }, 30s)) << round;
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(ProcessesOf(renderer).size(), 1u) << round;
    wine_harness::WineProcess& running = first.Running() ? first : second;
    EXPECT_GE(EscapeAndTimeTheEnd(running), 0) << round;
    EXPECT_FALSE(MessageBoxShown());
  }
}

// Reads a WAV file as ALSA's file plugin writes it: 16-bit samples, or
// 32-bit ones (floats, or integers kept as their top 16 bits). The plugin leaves the sizes in the
// header unset: the samples run to the end of the file. Its null device
// takes the sound faster than it plays, so only sample counts mean time.
struct Recording {
  int rate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;
};

std::optional<Recording> ReadRecording(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t fmt = bytes.find("fmt ");
  const size_t data = bytes.find("data");
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || fmt == std::string::npos ||
      data == std::string::npos)
    return std::nullopt;
  auto u16 = [&](size_t at) { return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                                                      static_cast<unsigned char>(bytes[at + 1]) << 8); };
  Recording r;
  r.channels = u16(fmt + 10);
  r.rate = u16(fmt + 12) | u16(fmt + 14) << 16;
  const int bits = u16(fmt + 22);
  if ((bits != 16 && bits != 32) || u16(fmt + 8) != 1 || r.channels <= 0 || r.rate <= 0) return std::nullopt;
  if (bits == 16) {
    for (size_t at = data + 8; at + 2 <= bytes.size(); at += 2) r.samples.push_back(static_cast<std::int16_t>(u16(at)));
    return r;
  }
  // Wine's mixer hands over floats; the header still says integer samples.
  std::vector<float> floats((bytes.size() - data - 8) / 4);
  std::memcpy(floats.data(), bytes.data() + data + 8, floats.size() * 4);
  const bool asFloat = std::all_of(floats.begin(), floats.end(), [](float f) { return std::isfinite(f) && std::fabs(f) <= 1.5f; });
  for (size_t i = 0; i < floats.size(); ++i) {
    if (asFloat) {
      r.samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(floats[i], -1.0f, 1.0f) * 32767)));
    } else {
      r.samples.push_back(static_cast<std::int16_t>(u16(data + 8 + i * 4 + 2)));
    }
  }
  return r;
}

// The loud 10 ms blocks of the recording's first channel: how long they
// last, and their pitch from the zero crossings within them.
double PitchOfLoudPart(const Recording& r, double& loudSeconds) {
  const size_t block = static_cast<size_t>(r.rate / 100);
  std::vector<std::int16_t> mono;
  for (size_t i = 0; i < r.samples.size(); i += static_cast<size_t>(r.channels)) mono.push_back(r.samples[i]);
  std::vector<int> perBlock;
  for (size_t start = 0; start + block <= mono.size(); start += block) {
    double energy = 0;
    for (size_t i = start; i < start + block; ++i) energy += static_cast<double>(mono[i]) * mono[i];
    if (std::sqrt(energy / static_cast<double>(block)) < 500) continue;
    int crossings = 0;
    for (size_t i = start + 1; i < start + block; ++i) crossings += (mono[i] >= 0) != (mono[i - 1] >= 0) ? 1 : 0;
    perBlock.push_back(crossings);
  }
  loudSeconds = static_cast<double>(perBlock.size()) / 100.0;
  if (perBlock.empty()) return 0;
  // The median block: the joins of one play and the next are not the tone.
  std::nth_element(perBlock.begin(), perBlock.begin() + static_cast<long>(perBlock.size() / 2), perBlock.end());
  return perBlock[perBlock.size() / 2] * 100 / 2.0;
}

TEST_F(SaverRunWine, Mp3RunPlaysOnAndEndsWithTheRenderer) {
  constexpr double kToneSeconds = 1.5;
  const std::string wav = folder + "/tone.wav", mp3 = folder + "/tone.mp3";
  ASSERT_TRUE(music::test::MakeToneWav(wav, kToneSeconds, 440) && music::test::WavToMp3(wav, mp3))
      << "sox or lame could not make the MP3";
  WriteSettings(" 2", wine_harness::WindowsPath(mp3));
  // The programs' sound goes into a file for this run.
  const std::string asoundrc = session->HomeDir() + "/.asoundrc";
  const std::string recorded = folder + "/heard.wav";
  std::ifstream before(asoundrc);
  const std::string usual((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
  std::ofstream(asoundrc) << "pcm.!default { type file slave.pcm \"null\" file \"" << recorded
                          << "\" format \"wav\" }\nctl.!default { type hw card 0 }\n";

  struct Restore {
    std::string path, text;
    ~Restore() { std::ofstream(path) << text; }
  } restore{asoundrc, usual};

  wine_harness::WineProcess run = StartRun();
  // Longer than the file: the 1000 ms watch has restarted it meanwhile.
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(kToneSeconds * 1000 * 3)));
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(XWindow("Lumora_VC"));
  EXPECT_FALSE(MessageBoxShown());
  const long long hostAfterRenderer = EscapeAndTimeTheEnd(run);
  ASSERT_GE(hostAfterRenderer, 0) << run.Output();
  EXPECT_LE(hostAfterRenderer, kWatchMs + kMarginMs);
  EXPECT_EQ(run.Wait(1000), 0);

  const auto heard = ReadRecording(recorded);
  ASSERT_TRUE(heard) << "nothing recorded at " << recorded;
  double loudSeconds = 0;
  const double pitch = PitchOfLoudPart(*heard, loudSeconds);
  std::printf("recorded %.2f s of tone at %.0f Hz (%d Hz, %d channels)\n", loudSeconds, pitch, heard->rate,
              heard->channels);
  EXPECT_NEAR(pitch, 440, 60);  // crossings of 10 ms blocks: coarse
  // More of the tone than the file holds: it was played again.
  EXPECT_GT(loudSeconds, kToneSeconds * 1.2);
}

class PreviewWine : public GuiWineTest {};

TEST_F(PreviewWine, PreviewIsAVisibleChildOfItsHostAndEndsWithIt) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{152, 112}, {200, 150}}) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    wine_harness::WineProcess host = session->Spawn(Helper("saver_preview_host.exe"),
                                                    {std::to_string(width), std::to_string(height), "1500"}, 90);
    ASSERT_TRUE(WaitForLine(host, "hwnd", 60s)) << host.Output();
    const std::string handle = ProbeField(wine_harness::ParseProbeFields(host.Output()), "hwnd");
    wine_harness::WineProcess preview = session->Spawn(Scr(), {"/p", handle}, 90);
    ASSERT_TRUE(WaitForLine(host, "child_pid", 60s)) << host.Output();
    ProbeFields child = wine_harness::ParseProbeFields(host.Output());
    EXPECT_EQ(ProbeField(child, "title"), "Preview Window") << size;
    EXPECT_EQ(ProbeField(child, "style_child"), "1") << size;
    EXPECT_EQ(ProbeField(child, "visible"), "1") << size;
    EXPECT_EQ(ProbeField(child, "parent"), "1") << size;
    EXPECT_EQ(ProbeField(child, "other_process"), "1") << size;
    EXPECT_EQ(ProbeField(child, "at"), "0,0") << size;
    EXPECT_EQ(ProbeField(child, "size"), size);  // the whole host
    EXPECT_TRUE(preview.Running()) << size << ": it lives as long as its host";
    ASSERT_TRUE(WaitForLine(host, "destroyed", 30s)) << host.Output();
    const auto destroyed = Clock::now();
    EXPECT_EQ(preview.Wait(20000), 0) << size;
    std::printf("%s host destroyed -> preview program gone: %lld ms\n", size.c_str(), MsSince(destroyed));
    // The host's process is still there: the preview ended with the window.
    EXPECT_TRUE(host.Running()) << size;
    host.Kill();
  }
}

TEST_F(PreviewWine, HandleThatNamesNoWindowEndsQuietly) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"/p", "1234"}, {"/p", "0"}, {"/p", "abc"}, {"/p", "99999999999"}, {"/p"}, {"/p:"}}) {
    const auto start = Clock::now();
    const wine_harness::RunResult run = session->Run(Scr(), args, 60);
    const std::string name = args.size() > 1 ? args[1] : args[0];
    EXPECT_FALSE(run.timedOut) << name;
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.output;
    EXPECT_LT(MsSince(start), 20000) << name;
    EXPECT_EQ(ProbeField(Windows({"find", "Preview Window"}), "found1"), "0") << name;
    EXPECT_FALSE(MessageBoxShown()) << name;
  }
}

}  // namespace
}  // namespace saver_gui_wine
