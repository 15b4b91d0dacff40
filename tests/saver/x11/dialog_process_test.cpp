// The settings dialog end to end: the real `Tovarel.scr /c` on a private
// Xvfb, read from its windows' pixels and geometry and driven with the
// pointer and the keyboard through XTEST, then `/s` playing what was chosen
// into a private PulseAudio null sink.
// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <thread>
#include <tuple>

#include "tests/support/wait_for.h"
#include "tests/support/child_process.h"
#include "tools/xclient/png_file.h"
#include "tests/support/pulse_server.h"
#include "tests/saver/music/audio_fixtures.h"
#include "tests/saver/support/bmp24.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/x11/settings_bytes.h"
#include "tests/support/image_compare.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testsupport::ChildProcess;
using Rgb = std::tuple<int, int, int>;

// Where the layout puts things, in pixels of the dialog's client area (the
// panel's own controls in the panel's).
struct Rect {
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  friend auto operator<=>(const Rect&, const Rect&) = default;
};
constexpr Rect kPanel{12, 16, 469, 165};
constexpr Rect kCancel{404, 200, 77, 25};
constexpr Rect kSet{324, 200, 77, 25};
constexpr Rect kFileButton{28, 116, 41, 21};  // in the panel
constexpr Rect kRepeatBox{112, 52, 41, 20};   // in the panel
constexpr Rect kMarkers[3] = {{28, 76, 12, 12}, {28, 56, 12, 12}, {28, 96, 12, 12}};  // in the panel
constexpr Rect kFileBox{72, 116, 373, 33};    // in the panel

bool WaitFor(const std::function<bool()>& done, double seconds) {
  return testsupport::WaitFor(done, seconds, 5);
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

Rgb At(const xclient::Image& image, int x, int y) {
  const std::size_t i = (static_cast<std::size_t>(y) * image.width + x) * 3;
  return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

Rgb Hex(std::uint32_t rgb) { return {rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF}; }

xclient::Image Part(const xclient::Image& image, const Rect& r) {
  xclient::Image part{r.w, r.h, {}};
  for (int y = r.y; y < r.y + r.h; ++y) {
    const auto row = image.rgb.begin() + (static_cast<std::ptrdiff_t>(y) * image.width + r.x) * 3;
    part.rgb.insert(part.rgb.end(), row, row + r.w * 3);
  }
  return part;
}

Rect InDialog(const Rect& inPanel) { return {kPanel.x + inPanel.x, kPanel.y + inPanel.y, inPanel.w, inPanel.h}; }

// The reference rule of the background: level |sin(i / (H / 3.142)) * 220|,
// rounded half to even.
int Level(int row, int height) { return static_cast<int>(std::nearbyint(std::fabs(std::sin(row / (height / 3.142)) * 220))); }

// The outer four pixels of a face, where its caption never reaches.
bool RingEquals(const xclient::Image& shown, const toolkit::raster::Image& face) {
  for (int y = 0; y < face.height; ++y) {
    for (int x = 0; x < face.width; ++x) {
      const bool ring = x < 4 || y < 4 || x >= face.width - 4 || y >= face.height - 4;
      if (ring && At(shown, x, y) != Hex(face.At(x, y))) return false;
    }
  }
  return true;
}

toolkit::raster::Image GoldenFace(const std::string& name) {
  return testsupport::ReadBmp24(std::string(TOVAREL_BUTTON_GOLDEN_DIR) + "/face_" + name + "_77x25.bmp")
      .value_or(toolkit::raster::Image{});
}

class DialogProcess : public testing::Test {
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
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    fs::copy_file(TOVAREL_SCR_PATH, folder_.File("Tovarel.scr"));
    fs::copy_file(TOVAREL_DLL_PATH, folder_.File("Tovarel.dll"));
    fs::create_directory(folder_.File("music"));
    fs::copy_file(TOVAREL_MUSIC_MODULE_PATH, folder_.File("music/tovarel-music.so"));
    xclient::MovePointer(display_, 0, 0);
  }
  void TearDown() override {
    if (host_.Running()) host_.Signal(SIGKILL);
    host_.Wait(5);
    if (auto window = xclient::FindWindowByTitle(display_, "Lumora_VC")) xclient::SendDeleteWindow(display_, *window);
    WaitFor([&] { return !xclient::FindWindowByTitle(display_, "Lumora_VC"); }, 5);
    if (display_) XCloseDisplay(display_);
  }

  std::string Ini() const { return folder_.File("Tovarel.ini"); }
  void WriteSettings(int kind, int repeat, const std::string& file) {
    testsupport::WriteBytes(Ini(), testsupport::SettingsBytes(kind, repeat, file));
  }
  std::string Tone(const std::string& name) {
    const std::string wav = folder_.File(name + ".wav"), mp3 = folder_.File(name);
    EXPECT_TRUE(music::test::MakeToneWav(wav, 1.5, 440));
    EXPECT_TRUE(music::test::WavToMp3(wav, mp3));
    return mp3;
  }

  // Starts /c and waits until the dialog is on screen and painted: both
  // gradients and the buttons' frames.
  void OpenDialog(ChildProcess& host, const std::vector<std::string>& prefix = {}) {
    std::vector<std::string> args = prefix;
    const std::string program = prefix.empty() ? folder_.File("Tovarel.scr") : prefix.front();
    if (!prefix.empty()) {
      args.erase(args.begin());
      args.push_back(folder_.File("Tovarel.scr"));
    }
    args.push_back("/c");
    ASSERT_TRUE(host.Start(program, args));
    ASSERT_TRUE(WaitFor([&] {
      dialog_ = xclient::FindWindowByTitle(display_, "<Tovarel>").value_or(0);
      return dialog_ != 0 && xclient::IsMapped(display_, dialog_);
    }, 20)) << "no dialog on screen";
    ASSERT_TRUE(WaitFor([&] {
      const auto shot = xclient::Capture(display_, dialog_);
      return shot && shot->width == 496 && At(*shot, 2, 121) == Rgb{220, 220, 250} &&
             At(*shot, kPanel.x + 466, kPanel.y + 82) == Rgb{250, 250, 250} &&
             At(*shot, kCancel.x + 38, kCancel.y + 1) == Rgb{0x00, 0x3C, 0x74};
    }, 10)) << "the dialog was not painted";
    Pause(150);
  }
  xclient::Image Shot() { return xclient::Capture(display_, dialog_).value_or(xclient::Image{}); }
  void MoveTo(int x, int y) {
    const auto at = xclient::RootGeometryOf(display_, dialog_);
    ASSERT_TRUE(at);
    xclient::MovePointer(display_, at->x + x, at->y + y);
  }
  // A press and release of the left button at a point of the client area.
  void ClickAt(int x, int y) {
    MoveTo(x, y);
    Pause(60);
    xclient::PointerButton(display_, 1, true);
    Pause(60);
    xclient::PointerButton(display_, 1, false);
    Pause(150);
  }
  // Clicks, and waits until a part of the dialog shows the click's effect.
  void ClickAndWatch(int x, int y, const Rect& watched) {
    const xclient::Image before = Part(Shot(), watched);
    ClickAt(x, y);
    EXPECT_TRUE(WaitFor([&] { return Part(Shot(), watched).rgb != before.rgb; }, 5)) << "no effect at " << x << "," << y;
  }
  // Picks choice 1 (音楽CD) and types into the repeat box it opens.
  void TypeRepeat(const char* digit) {
    ClickAndWatch(kPanel.x + 52, kPanel.y + 62, InDialog(kMarkers[1]));
    ClickAndWatch(kPanel.x + kRepeatBox.x + 12, kPanel.y + kRepeatBox.y + 10, InDialog(kRepeatBox));  // the caret
    xclient::TapKey(display_, digit, 30);
    Pause(150);
  }
  std::optional<int> WaitForEnd(ChildProcess& host) {
    const std::optional<int> code = host.Wait(10);
    WaitFor([&] { return !xclient::FindWindowByTitle(display_, "<Tovarel>"); }, 5);
    return code;
  }

  static testsupport::XvfbServer* xvfb_;
  static testsupport::PulseServer* pulse_;
  testsupport::TempDir folder_;
  Display* display_ = nullptr;
  ChildProcess host_;
  unsigned long dialog_ = 0;
};

testsupport::XvfbServer* DialogProcess::xvfb_ = nullptr;
testsupport::PulseServer* DialogProcess::pulse_ = nullptr;

// --- the window

TEST_F(DialogProcess, ShowsAFixedSizeWindowWithTitleAndCloseBoxOnly) {
  OpenDialog(host_);
  const auto geometry = xclient::RootGeometryOf(display_, dialog_);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->width, 496);
  EXPECT_EQ(geometry->height, 243);
  // No frame without a window manager: centred, its top at a third of the
  // free height ((11520 - 3645) / 3 twips).
  EXPECT_EQ(geometry->x, 264);
  EXPECT_EQ(geometry->y, 175);

  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display_, dialog_, &hints, &supplied));
  ASSERT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
  EXPECT_EQ(std::tie(hints.min_width, hints.min_height), std::make_tuple(496, 243));
  EXPECT_EQ(std::tie(hints.max_width, hints.max_height), std::make_tuple(496, 243));

  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display_, dialog_, XInternAtom(display_, "_MOTIF_WM_HINTS", False), 0, 5, False,
                     AnyPropertyType, &type, &format, &count, &after, &data);
  ASSERT_EQ(count, 5u);
  const long functions = reinterpret_cast<const long*>(data)[1];
  const long decorations = reinterpret_cast<const long*>(data)[2];
  XFree(data);
  EXPECT_EQ(functions & (8 | 16), 0) << "minimise or maximise offered";
  EXPECT_EQ(decorations & (32 | 64), 0) << "a minimise or maximise box";
  EXPECT_NE(functions & 32, 0) << "no close";
}

std::vector<long> CardinalProperty(Display* display, unsigned long window, const char* name, Atom type) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 16, False, type, &actual, &format,
                         &count, &after, &data) == Success && data != nullptr && format == 32) {
    values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  }
  if (data != nullptr) XFree(data);
  return values;
}

// Under a window manager the placement rule places the frame, known before
// the window is first shown.
TEST_F(DialogProcess, UnderAWindowManagerTheRulePlacesTheFrame) {
  ChildProcess openbox;
  const std::string home = folder_.File("wm");
  fs::create_directories(home);
  ASSERT_TRUE(openbox.Start("/bin/sh", {"-c", "XDG_CONFIG_HOME=\"$0\" XDG_CACHE_HOME=\"$0\" exec openbox --sm-disable "
                                              ">/dev/null 2>&1", home}));
  ASSERT_TRUE(WaitFor([&] {
    return CardinalProperty(display_, DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).size() == 1;
  }, 20)) << "openbox did not start";
  Pause(1000);  // its check window comes before it answers requests
  OpenDialog(host_);
  std::vector<long> frame;  // left, right, top, bottom
  ASSERT_TRUE(WaitFor([&] {
    frame = CardinalProperty(display_, dialog_, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    return frame.size() == 4 && frame[2] > 0;
  }, 5));
  const auto client = xclient::RootGeometryOf(display_, dialog_);
  ASSERT_TRUE(client);
  const int outerWidth = 496 + static_cast<int>(frame[0] + frame[1]);
  const int outerHeight = 243 + static_cast<int>(frame[2] + frame[3]);
  // Centred, the top at a third of the free height, reckoned in twips.
  EXPECT_EQ(client->x - frame[0], (1024 * 15 - outerWidth * 15) / 2 / 15);
  EXPECT_EQ(client->y - frame[2], (768 * 15 - outerHeight * 15) / 3 / 15);
  EXPECT_EQ(std::tie(client->width, client->height), std::make_tuple(496, 243));
  host_.Signal(SIGKILL);
  host_.Wait(5);
  openbox.Signal(SIGTERM);
  openbox.Wait(10);
}

TEST_F(DialogProcess, BackgroundRowsAreTheReferenceGradients) {
  OpenDialog(host_);
  const xclient::Image shot = Shot();
  ASSERT_EQ(shot.height, 243);
  // The table's rows, then every row of the rule, where no control lies.
  const std::pair<int, Rgb> dialogTable[] = {{0, {0, 0, 30}},       {1, {3, 3, 33}},       {10, {28, 28, 58}},
                                             {30, {83, 83, 113}},   {60, {154, 154, 184}}, {121, {220, 220, 250}},
                                             {183, {154, 154, 184}}, {242, {3, 3, 33}}};
  for (const auto& [row, colour] : dialogTable) EXPECT_EQ(At(shot, 0, row), colour) << "row " << row;
  int wrong = 0;
  for (int y = 0; y < 243; ++y) {
    const int level = Level(y, 243);
    for (int x = 0; x < 496; ++x) {
      // Beside and above the panel, between it and the credit line, below
      // the buttons.
      const bool free = x < 12 || x >= 482 || y < 16 || (y >= 181 && y < 190) || y >= 226;
      if (free) wrong += At(shot, x, y) != Rgb{level, level, level + 30};
    }
  }
  EXPECT_EQ(wrong, 0) << "dialog pixels off the gradient";

  const std::pair<int, int> panelTable[] = {{0, 30}, {10, 72}, {82, 250}, {164, 34}};
  for (const auto& [row, grey] : panelTable) {
    EXPECT_EQ(At(shot, kPanel.x + 466, kPanel.y + row), (Rgb{grey, grey, grey})) << "panel row " << row;
  }
  wrong = 0;
  for (int y = 0; y < kPanel.h; ++y) {
    const int grey = Level(y, kPanel.h) + 30;
    for (int x = 0; x < kPanel.w; ++x) {
      if (x < 20 || x >= 446 || y < 20 || y >= 150) wrong += At(shot, kPanel.x + x, kPanel.y + y) != Rgb{grey, grey, grey};
    }
  }
  EXPECT_EQ(wrong, 0) << "panel pixels off the gradient";
}

// Every native window of the dialog, relative to its parent.
std::set<Rect> ChildRects(Display* display, unsigned long window) {
  std::set<Rect> rects;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return rects;
  for (unsigned int i = 0; i < count; ++i) {
    Window r = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    XGetGeometry(display, children[i], &r, &x, &y, &w, &h, &border, &depth);
    rects.insert({x, y, static_cast<int>(w), static_cast<int>(h)});
  }
  if (children != nullptr) XFree(children);
  return rects;
}

unsigned long ChildAt(Display* display, unsigned long window, const Rect& rect) {
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(display, children[i], &a) && Rect{a.x, a.y, a.width, a.height} == rect) found = children[i];
  }
  if (children != nullptr) XFree(children);
  return found;
}

TEST_F(DialogProcess, NativeWindowsLieWhereTheLayoutPutsThem) {
  OpenDialog(host_);
  EXPECT_EQ(ChildRects(display_, dialog_), (std::set<Rect>{kCancel, kSet, kPanel}));
  const unsigned long panel = ChildAt(display_, dialog_, kPanel);
  ASSERT_NE(panel, 0u);
  EXPECT_EQ(ChildRects(display_, panel), (std::set<Rect>{kFileButton, kRepeatBox}));
}

// --- what the kind shows

struct KindView {
  std::array<xclient::Image, 3> markers;
  xclient::Image repeatBox;
  Rgb fileButtonOutline;
};

TEST_F(DialogProcess, MarkersAndEnabledControlsFollowTheKind) {
  std::map<int, KindView> views;
  const std::string mp3 = Tone("tone.mp3");  // kind 2 without a file would read as 0
  for (int kind : {0, 1, 2, 7}) {
    WriteSettings(kind, 3, mp3);
    ChildProcess host;
    OpenDialog(host);
    const xclient::Image shot = Shot();
    KindView& view = views[kind];
    for (int k = 0; k < 3; ++k) view.markers[k] = Part(shot, InDialog(kMarkers[k]));
    view.repeatBox = Part(shot, InDialog(kRepeatBox));
    view.fileButtonOutline = At(shot, kPanel.x + kFileButton.x + 20, kPanel.y + kFileButton.y + 1);
    xclient::SendDeleteWindow(display_, dialog_);
    EXPECT_EQ(WaitForEnd(host), 0);
  }
  const xclient::Image on = views[0].markers[0], off = views[0].markers[1];
  ASSERT_NE(on.rgb, off.rgb) << "the chosen marker looks like the others";
  for (int kind : {0, 1, 2, 7}) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(views[kind].markers[k].rgb, (k == kind ? on : off).rgb) << "kind " << kind << ", marker " << k;
    }
    // Enabled only for kind 1: the box looks alike for the others, and
    // unlike them for 1; "..." shows the Disable frame but for kind 2.
    if (kind != 0) {
      EXPECT_EQ(views[kind].repeatBox.rgb == views[0].repeatBox.rgb, kind != 1) << "kind " << kind;
    }
    const Rgb outline = kind == 2 ? Rgb{0x00, 0x3C, 0x74} : Rgb{0xC9, 0xC7, 0xBA};
    EXPECT_EQ(views[kind].fileButtonOutline, outline) << "kind " << kind;
  }
}

// --- the buttons in a real window

TEST_F(DialogProcess, HoverShowsHighLightUntilThePointerLeavesAndCancelClicksOnReleaseWritingNothing) {
  const std::string before = "; kept as it is\r\n[Section]\r\nBGM\x8B\xE6\x95\xAA= 0\r\n[Other]\r\nx=1";
  testsupport::WriteBytes(Ini(), before);
  OpenDialog(host_);
  auto cancelFace = [&] {
    return xclient::CaptureArea(display_, dialog_, kCancel.x, kCancel.y, kCancel.w, kCancel.h)
        .value_or(xclient::Image{});
  };
  ASSERT_TRUE(RingEquals(cancelFace(), GoldenFace("normal")));

  MoveTo(kCancel.x + 20, kCancel.y + 12);
  ASSERT_TRUE(WaitFor([&] { return RingEquals(cancelFace(), GoldenFace("highlight")); }, 2)) << "no hover look";
  // The orange band of the HighLight picture.
  const auto highlight = testsupport::ReadBmp24(std::string(TOVAREL_BUTTON_RESOURCES) + "/highlight.bmp");
  ASSERT_TRUE(highlight);
  const xclient::Image face = cancelFace();
  for (int y : {2, 3, 21, 22}) EXPECT_EQ(At(face, 38, y), Hex(highlight->At(32, y))) << "row " << y;
  EXPECT_EQ(At(face, 2, 12), Hex(highlight->At(2, 12)));

  // Over the caption the pointer is still over the button.
  MoveTo(kCancel.x + 38, kCancel.y + 10);
  Pause(300);
  EXPECT_TRUE(RingEquals(cancelFace(), GoldenFace("highlight"))) << "the caption ended the hover";

  MoveTo(300, 230);  // the dialog itself
  const auto left = Clock::now();
  ASSERT_TRUE(WaitFor([&] { return RingEquals(cancelFace(), GoldenFace("normal")); }, 2)) << "the hover stayed";
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - left).count();
  EXPECT_LT(ms, 100 + 300) << "one 100 ms tick, with room for a loaded machine";
  RecordProperty("hover_end_ms", static_cast<int>(ms));

  // The press shows Pressed and clicks nothing; the release clicks.
  MoveTo(kCancel.x + 20, kCancel.y + 12);
  Pause(60);
  xclient::PointerButton(display_, 1, true);
  EXPECT_TRUE(WaitFor([&] { return RingEquals(cancelFace(), GoldenFace("pressed")); }, 2)) << "no Pressed look";
  Pause(300);
  EXPECT_TRUE(host_.Running()) << "the press clicked";
  xclient::PointerButton(display_, 1, false);
  EXPECT_EQ(WaitForEnd(host_), 0);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), before);
}

// A window another client destroys ends the dialog as its close box does.
TEST_F(DialogProcess, CancelTheCloseBoxAndADestroyedWindowLeaveTheFileByteForByte) {
  const std::string before = testsupport::SettingsBytes(0, 0, "") + "; end";
  for (const char* way : {"cancel", "close box", "destroyed"}) {
    testsupport::WriteBytes(Ini(), before);
    ChildProcess host;
    OpenDialog(host);
    TypeRepeat("7");
    if (way == std::string("close box")) {
      xclient::SendDeleteWindow(display_, dialog_);
    } else if (way == std::string("destroyed")) {
      XDestroyWindow(display_, dialog_);
      XSync(display_, False);
    } else {
      ClickAt(kCancel.x + 20, kCancel.y + 12);
    }
    EXPECT_EQ(WaitForEnd(host), 0) << way;
    EXPECT_EQ(testsupport::ReadBytes(Ini()), before) << way;
  }
}

// --- end to end

double Frequency(const std::vector<std::int16_t>& recording) {
  // The first stretch of sound of at least 100 ms, up to half a second of
  // it, without its first and last 20 ms: the tone's end, or the pause
  // before it is played again, is no slower tone.
  const std::size_t window = music::test::kRate / 50 * 2;
  std::size_t begin = 0;
  for (std::size_t at = 0; at + window <= recording.size(); at += window) {
    const bool loud = music::test::Rms(std::span(recording).subspan(at, window)) >= 1000;
    const bool full = at - begin >= music::test::kRate;
    if (loud && !full) continue;
    const std::size_t from = begin + window, to = full ? at : at - std::min(at, window);
    if (to >= from + 5 * window) return music::test::ToneFrequency(std::span(recording).subspan(from, to - from));
    begin = at + window;
  }
  return 0;
}

TEST_F(DialogProcess, PointerChoicesAreWrittenOnSetAndTheRunPlaysThem) {
  ASSERT_TRUE(pulse_->Running()) << "pulseaudio could not be started";
  const std::string mp3 = Tone("tone.mp3");
  WriteSettings(0, 0, mp3);
  OpenDialog(host_);
  TypeRepeat("3");
  ClickAndWatch(kPanel.x + 52, kPanel.y + 102, InDialog(kMarkers[2]));  // MP3、WAV
  ClickAt(kSet.x + 20, kSet.y + 12);                                     // 設定
  ASSERT_EQ(WaitForEnd(host_), 0);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), testsupport::SettingsBytes(2, 3, mp3));

  pulse_->StartRecording();
  ChildProcess run;
  ASSERT_TRUE(run.Start(folder_.File("Tovarel.scr"), {"/s"}));
  ASSERT_TRUE(WaitFor([&] {
    auto window = xclient::FindWindowByTitle(display_, "Lumora_VC");
    return window && xclient::IsMapped(display_, *window);
  }, 30)) << "no renderer";
  // Heard within ten seconds (GStreamer may be slow to start on a busy machine).
  double hertz = 0;
  for (int tries = 0; tries < 5 && hertz == 0; ++tries) {
    Pause(2000);
    hertz = Frequency(pulse_->StopRecording());
    pulse_->StartRecording();
  }
  pulse_->StopRecording();
  EXPECT_NEAR(hertz, 440, 15) << "the chosen MP3 was not heard";
  xclient::TapKey(display_, "Escape");
  EXPECT_EQ(run.Wait(10), 0);
}

// With choice 1 the dialog opens with the focus in the repeat box and its
// text selected: a digit typed replaces the number.
TEST_F(DialogProcess, ADigitTypedAsTheDialogOpensReplacesTheRepeatTrack) {
  WriteSettings(1, 12, "");
  ChildProcess host;
  OpenDialog(host);
  xclient::TapKey(display_, "5", 30);
  Pause(150);
  ClickAt(kSet.x + 20, kSet.y + 12);
  EXPECT_EQ(WaitForEnd(host), 0);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), testsupport::SettingsBytes(1, 5, ""));
}

// --- bad input

TEST_F(DialogProcess, AKindOutsideTheChoicesIsWrittenBackAsItWas) {
  for (int kind : {7, -1}) {
    WriteSettings(kind, 0, "");
    ChildProcess host;
    OpenDialog(host);
    const xclient::Image shot = Shot();
    const xclient::Image off = Part(shot, InDialog(kMarkers[0]));
    for (int k = 1; k < 3; ++k) EXPECT_EQ(Part(shot, InDialog(kMarkers[k])).rgb, off.rgb) << kind << ": a marker shows";
    ClickAt(kSet.x + 20, kSet.y + 12);
    EXPECT_EQ(WaitForEnd(host), 0) << kind;
    EXPECT_EQ(testsupport::ReadBytes(Ini()), testsupport::SettingsBytes(kind, 0, "")) << kind;
  }
}

// A value is read up to 255 bytes: a path of 255 characters is kept, one of
// 300 is cut, names no file, and is dropped with its kind.
TEST_F(DialogProcess, LongPathsAreKeptUpTo255CharactersAndDroppedBeyond) {
  const std::string mp3 = Tone("tone.mp3");
  for (const std::size_t length : {255u, 300u}) {
    std::string folder = folder_.Path() + "/" + std::to_string(length);
    while (folder.size() < length - 20) folder += "/" + std::string(std::min<std::size_t>(60, length - 20 - folder.size()), 'd');
    fs::create_directories(folder);
    const std::string path = folder + "/" + std::string(length - folder.size() - 5, 'm') + ".mp3";
    ASSERT_EQ(path.size(), length);
    fs::copy_file(mp3, path);
    WriteSettings(2, 0, path);
    ChildProcess host;
    OpenDialog(host);
    // The file box: text in both of its lines, or none.
    const xclient::Image box = Part(Shot(), InDialog(kFileBox));
    for (const auto& [first, last] : {std::pair{2, 16}, std::pair{17, 31}}) {
      int ink = 0;
      for (int y = first; y < last; ++y) {
        for (int x = 2; x < box.width - 2; ++x) ink += std::get<0>(At(box, x, y)) < 100;
      }
      EXPECT_EQ(ink > 50, length == 255) << length << ": rows " << first << "-" << last;
    }
    ClickAt(kSet.x + 20, kSet.y + 12);
    ASSERT_EQ(WaitForEnd(host), 0) << length;
    EXPECT_EQ(testsupport::ReadBytes(Ini()),
              length == 255 ? testsupport::SettingsBytes(2, 0, path) : testsupport::SettingsBytes(0, 0, ""))
        << length;
  }
}

// The choice goes to the user's own copy of the file; the program folder's
// stays as it was.
TEST_F(DialogProcess, SetInAFolderThatCannotBeWrittenClosesTheDialogAndKeepsTheChoiceForTheUser) {
  const std::string before = testsupport::SettingsBytes(1, 4, "");
  testsupport::WriteBytes(Ini(), before);
  const std::string config = folder_.File("config");
  fs::create_directory(config);
  ASSERT_EQ(chown(config.c_str(), 65534, 65534), 0);
  chmod(folder_.Path().c_str(), 0555);
  chmod(Ini().c_str(), 0444);
  // As root every file could be replaced: the program runs as nobody.
  ChildProcess host;
  OpenDialog(host, {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", "/usr/bin/env",
                    "XDG_CONFIG_HOME=" + config});
  ClickAndWatch(kPanel.x + 52, kPanel.y + 102, InDialog(kMarkers[2]));  // MP3、WAV
  ClickAt(kSet.x + 20, kSet.y + 12);
  EXPECT_EQ(WaitForEnd(host), 0);
  EXPECT_EQ(testsupport::ReadBytes(Ini()), before);
  EXPECT_EQ(testsupport::ReadBytes(config + "/tovarel/Tovarel.ini"), testsupport::SettingsBytes(2, 4, ""));
}

// --- the whole dialog against its golden image

// Pixels of a text region far from the background of their row, which is
// the region's first column (every background behind text is a vertical
// gradient).
int Ink(const xclient::Image& image, const Rect& r) {
  int ink = 0;
  for (int y = r.y; y < r.y + r.h; ++y) {
    const auto [br, bg, bb] = At(image, r.x, y);
    for (int x = r.x + 1; x < r.x + r.w; ++x) {
      const auto [pr, pg, pb] = At(image, x, y);
      ink += std::max({std::abs(pr - br), std::abs(pg - bg), std::abs(pb - bb)}) > 48;
    }
  }
  return ink;
}

TEST_F(DialogProcess, LooksLikeItsGoldenImage) {
  OpenDialog(host_);  // no settings file: nothing chosen but "なし"
  const xclient::Image shot = Shot();
  const auto golden = xclient::ReadPng(TOVAREL_DIALOG_GOLDEN);
  ASSERT_TRUE(golden) << "tools/screenshot-dialog.sh --golden makes it";
  ASSERT_EQ(std::tie(golden->width, golden->height), std::tie(shot.width, shot.height));
  // Text may move by a pixel with another FreeType; the gradients, frames,
  // markers and faces may not. The text regions start a pixel left of
  // their labels.
  const Rect text[] = {InDialog({21, 24, 109, 13}),   InDialog({43, 56, 60, 14}),  InDialog({43, 76, 40, 14}),
                       InDialog({43, 96, 70, 14}),    InDialog({155, 56, 90, 14}), {11, 190, 190, 14},
                       {11, 208, 150, 14},            InDialog({kFileButton.x + 4, kFileButton.y + 3, 33, 14}),
                       {kSet.x + 4, kSet.y + 4, 69, 17}, {kCancel.x + 4, kCancel.y + 4, 69, 17}};
  // Qt's own drawing of the box may change with its style as well.
  const Rect repeatBox = InDialog(kRepeatBox);
  auto inText = [&](int x, int y) {
    return repeatBox.Contains(x, y) || std::any_of(std::begin(text), std::end(text), [&](const Rect& r) { return r.Contains(x, y); });
  };
  int exactWrong = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) exactWrong += !inText(x, y) && At(shot, x, y) != At(*golden, x, y);
  }
  EXPECT_EQ(exactWrong, 0) << "pixels outside the text differ";
  for (const Rect& r : text) {
    const int want = Ink(*golden, r), got = Ink(shot, r);
    EXPECT_GT(want, 0) << "no text in the golden image at " << r.x << "," << r.y;
    EXPECT_NEAR(got, want, want * 0.3 + 4) << "text at " << r.x << "," << r.y;
    const auto difference = testsupport::Compare(r.w, r.h, Part(shot, r).rgb, r.w, r.h, Part(*golden, r).rgb);
    EXPECT_LE(difference.meanAbsolute, 16.0) << "text at " << r.x << "," << r.y << ": " << testsupport::Describe(difference);
  }
}

}  // namespace
