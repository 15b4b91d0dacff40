// The Win32 toolkit under Wine: toolkit_probe.exe runs one scenario per
// call (tests/saver/wine/win32) and reports key=value lines and captures.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "saver/toolkit/raster/raster.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/toolkit/conformance/form_cases.h"
#include "tests/saver/toolkit/conformance/label_cases.h"
#include "tests/saver/toolkit/conformance/mouse_cases.h"
#include "tests/saver/toolkit/conformance/timer_cases.h"
#include "tests/wine/probe_output.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using wine_harness::ProbeField;
using wine_harness::ProbeFields;

constexpr int kRunSeconds = 90;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool operator==(const Image&) const = default;
};

std::optional<Image> ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  Image image;
  int depth = 0;
  if (!(in >> magic >> image.width >> image.height >> depth) || magic != "P6") return std::nullopt;
  in.get();
  for (int i = 0; i < image.width * image.height; ++i) {
    unsigned char rgb[3];
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return std::nullopt;
    image.pixels.push_back(static_cast<std::uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]));
  }
  return image;
}

// A flat-coloured baseline JPEG, as a picture stored with a form would be.
void WriteJpeg(const std::string& path, int width, int height, const unsigned char rgb[3]) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) std::copy(rgb, rgb + 3, row.begin() + x * 3);
  JSAMPROW rows[1] = {row.data()};
  while (info.next_scanline < info.image_height) jpeg_write_scanlines(&info, rows, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

class ToolkitWineTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto probe = wine_harness::WindowsBinary("toolkit_probe.exe");
    if (!probe) GTEST_SKIP() << "toolkit_probe.exe of the Windows build is not built";
    std::string error;
    session = wine_harness::SharedSession({}, error);
    ASSERT_NE(session, nullptr) << error;
    folder = session->WorkDir() + "/toolkit-" + testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(*probe, folder + "/toolkit_probe.exe");
  }

  std::string Probe() const { return folder + "/toolkit_probe.exe"; }
  std::string Win(const std::string& path) const { return wine_harness::WindowsPath(path); }
  ProbeFields Run(const std::vector<std::string>& args, int* exitCode = nullptr) const {
    const wine_harness::RunResult run = session->Run(Probe(), args, kRunSeconds);
    EXPECT_FALSE(run.timedOut) << args[0] << ": " << run.output;
    if (exitCode) *exitCode = run.exitCode;
    return wine_harness::ParseProbeFields(run.output);
  }
  // Starts a scenario in the background and waits for its `key` line.
  wine_harness::WineProcess SpawnUntil(const std::vector<std::string>& args, const std::string& key) const {
    wine_harness::WineProcess process = session->Spawn(Probe(), args, kRunSeconds);
    const auto until = std::chrono::steady_clock::now() + 60s;
    while (wine_harness::ParseProbeFields(process.Output()).count(key) == 0 && process.Running() &&
           std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(50ms);
    return process;
  }

  wine_harness::WineSession* session = nullptr;
  std::string folder;
};

TEST_F(ToolkitWineTest, LoadedFormIsHiddenFoundByItsCaptionAndClosedByWmClose) {
  for (const std::string title : {"Lumora_Main", "<Tovarel>", "設定ﾀﾞｲｱﾛｸﾞ"}) {
    wine_harness::WineProcess form = SpawnUntil({"hidden", title}, "ready");
    ASSERT_EQ(ProbeField(wine_harness::ParseProbeFields(form.Output()), "ready"), "1") << form.Output();
    EXPECT_EQ(Run({"find", title})["found"], "1") << title;
    EXPECT_EQ(Run({"find", title + " "})["found"], "0") << title;
    EXPECT_EQ(Run({"close", title})["posted"], "1") << title;
    ASSERT_EQ(form.Wait(30000), 0) << title;
    const ProbeFields fields = wine_harness::ParseProbeFields(form.Output());
    EXPECT_EQ(ProbeField(fields, "visible"), "0") << title;
    EXPECT_EQ(ProbeField(fields, "events"), "load,queryunload,unload") << title;
    EXPECT_EQ(ProbeField(fields, "loop"), "0") << title;
  }
}

std::vector<std::string> SplitLog(const std::string& text) {
  std::vector<std::string> entries;
  std::stringstream in(text);
  for (std::string entry; std::getline(in, entry, '|');) entries.push_back(entry);
  return entries;
}

TEST_F(ToolkitWineTest, LifeCycleConformance) {
  const std::vector<conformance::FormCase> cases = conformance::AllFormCases();
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(SplitLog(Run({"formcase", std::to_string(i)})["log"]), conformance::ExpectedLog(cases[i])) << cases[i].name;
}

TEST_F(ToolkitWineTest, WindowlessMouseConformance) {
  const auto& cases = conformance::MouseCases();
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(SplitLog(Run({"mousecase", std::to_string(i)})["log"]), cases[i].log) << cases[i].name;
}

TEST_F(ToolkitWineTest, TimerConformance) {
  const auto& cases = conformance::TimerCases();
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(SplitLog(Run({"timercase", std::to_string(i)})["log"]), cases[i].log) << cases[i].name;
}

TEST_F(ToolkitWineTest, LabelSizeConformance) {
  const auto& cases = conformance::LabelCases();
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(SplitLog(Run({"labelcase", std::to_string(i)})["log"]), cases[i].log) << cases[i].name;
}

TEST_F(ToolkitWineTest, ModalFormDisablesTheOtherFormsUntilItIsUnloaded) {
  ProbeFields fields = Run({"modal"});
  EXPECT_EQ(fields["owner_enabled_during"], "0");
  EXPECT_EQ(fields["dialog_enabled"], "1");
  EXPECT_EQ(fields["dialog_events"], "load,resize,queryunload,unload");
  EXPECT_EQ(fields["dialog_loaded"], "0");
  EXPECT_EQ(fields["owner_enabled_after"], "1");
  EXPECT_EQ(fields["loop"], "0");  // no form left: the loop returns at once
}

TEST_F(ToolkitWineTest, EmbeddedFormUnloadsWhenItsHostGoes) {
  // The host destroys its window and lives on; or its process ends.
  for (const std::string how : {"destroy", "exit"}) {
    wine_harness::WineProcess host = SpawnUntil({"host", how}, "hwnd");
    const std::string handle = ProbeField(wine_harness::ParseProbeFields(host.Output()), "hwnd");
    ASSERT_NE(handle, "<missing>") << host.Output();
    const auto start = std::chrono::steady_clock::now();
    ProbeFields fields = Run({"embed", handle});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(fields["childstyle"], "1") << how;
    EXPECT_EQ(fields["parent"], "1") << how;
    EXPECT_EQ(fields["parent_window"], "1") << how;
    EXPECT_EQ(fields["style_child"], "1") << how;
    EXPECT_EQ(fields["visible"], "1") << how;
    EXPECT_EQ(fields["events"], "load,resize,queryunload,unload") << how;
    EXPECT_EQ(fields["loop"], "0") << how;
    // The host goes a second after it sees the child.
    EXPECT_LT(took, 20s) << how;
    EXPECT_TRUE(host.Wait(30000).has_value()) << how;
  }
}

TEST_F(ToolkitWineTest, EmbeddedFormCoversItsHostAndDrawsThere) {
  // The host in the probe's own process: Wine shows no other process's child.
  ProbeFields fields = Run({"embed", "local"});
  EXPECT_EQ(fields["parent_window"], "1");
  EXPECT_EQ(fields["size"], "200x150");  // the host's outer size, as the preview takes it
  // The picture at the top-left, the back colour beside and below it.
  EXPECT_EQ(fields["pixels"], "FF0000 00FF00 0080FF 0080FF");
  EXPECT_EQ(fields["events"], "load,resize,queryunload,unload");
}

TEST_F(ToolkitWineTest, HandleThatNamesNoWindowLeavesNoWindow) {
  for (const std::string handle : {"1234", "0", "99999999999"}) {
    int exitCode = -1;
    ProbeFields fields = Run({"embed", handle}, &exitCode);
    EXPECT_EQ(exitCode, 0) << handle;
    EXPECT_EQ(fields["parent"], "0") << handle;
    EXPECT_EQ(fields["visible"], "0") << handle;
    EXPECT_EQ(fields["events"], "load,queryunload,unload") << handle;
  }
}

TEST_F(ToolkitWineTest, StartProgramQuotesThePathAndShowsTheWindowNormally) {
  const std::string japanese = folder + "/テスト フォルダ";
  fs::create_directories(japanese);
  fs::copy_file(Probe(), japanese + "/probe copy.exe");
  testsupport::WriteBytes(folder + "/notes.txt", "not a program");
  for (const std::string& missing : {folder + "/nothing.exe", folder + "/notes.txt"})
    EXPECT_EQ(Run({"start", Win(missing)})["null"], "1") << missing;

  ProbeFields fields = Run({"start", Win(japanese + "/probe copy.exe")});
  EXPECT_EQ(fields["null"], "0");
  EXPECT_EQ(fields["running_at_start"], "1");  // it lives for a second and a half
  EXPECT_EQ(fields["ended"], "1");
  ProbeFields started = wine_harness::ParseProbeFields(testsupport::ReadBytes(japanese + "/started.txt"));
  EXPECT_EQ(started["show"], "1");  // SW_SHOWNORMAL
  EXPECT_EQ(started["useshow"], "1");
  EXPECT_EQ(started["commandline"], "\"" + Win(japanese + "/probe copy.exe") + "\"");
}

TEST_F(ToolkitWineTest, OpenUrlGivesTheShellsResult) {
  const std::string program = folder + "/opened/probe.exe";
  fs::create_directories(folder + "/opened");
  fs::copy_file(Probe(), program);
  EXPECT_GT(std::stoi(Run({"openurl", Win(program)})["result"]), 32);
  const auto until = std::chrono::steady_clock::now() + 30s;
  while (!fs::exists(folder + "/opened/started.txt") && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(fs::exists(folder + "/opened/started.txt"));
  EXPECT_LE(std::stoi(Run({"openurl", Win(folder + "/nothing.exe")})["result"]), 32);
}

TEST_F(ToolkitWineTest, SurfaceIsShownFromItsRetainedImageWithoutProgramCode) {
  ProbeFields fields = Run({"surface", Win(folder)});
  EXPECT_EQ(fields["picture"], "1");
  EXPECT_EQ(fields["resizes"], "1");  // repaints, hiding and showing ran no Resize
  const auto retained = ReadPpm(folder + "/retained.ppm");
  ASSERT_TRUE(retained);
  ASSERT_EQ(retained->width, 160);
  ASSERT_EQ(retained->height, 120);
  for (const char* name : {"shown", "invalidated", "reshown"}) {
    const auto shown = ReadPpm(folder + "/" + name + ".ppm");
    ASSERT_TRUE(shown) << name;
    EXPECT_TRUE(*shown == *retained) << name;
  }
  // The same drawing through toolkit::raster, which the Qt build paints with.
  const std::uint32_t back = 0x0A141E;
  toolkit::raster::Image expected(160, 120, back);
  const toolkit::raster::GradientVertex vertices[2] = {{0, 0, 0xFF00, 0xFF00, 0xFF00, 0},
                                                       {79, 59, 0x3000, 0x5000, 0xA000, 0}};
  toolkit::raster::GradientFillRectV(expected, vertices, 2, {1, 0});
  toolkit::raster::Line(expected, 0, 100, 50, 100, 0xFF0000);
  toolkit::raster::Line(expected, 100, 60, 100, 110, 0x00FF00);
  toolkit::raster::Line(expected, 60, 70, 91, 84, 0xFFFF00);
  toolkit::raster::Image picture(4, 2);
  picture.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000000};
  for (const toolkit::raster::PixelRect& to : std::vector<toolkit::raster::PixelRect>{
           {100, 10, 8, 4}, {120, 10, 4, 2}, {130, 30, 3, 1}, {130, 40, 7, 3}})
    toolkit::raster::StretchCopy(expected, to, picture, {0, 0, 4, 2});
  int differing = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x)
      if (retained->At(x, y) != expected.At(x, y) && ++differing <= 5)
        ADD_FAILURE() << "(" << x << "," << y << "): " << std::hex << retained->At(x, y) << " vs " << expected.At(x, y);
  EXPECT_EQ(differing, 0);
  // What either would get wrong alike: the last point of a line, the last
  // row and column of the gradient, the picture 1:1.
  EXPECT_EQ(retained->At(50, 100), back);
  EXPECT_EQ(retained->At(49, 100), 0xFF0000u);
  EXPECT_EQ(retained->At(79, 0), back);
  EXPECT_EQ(retained->At(0, 59), back);
  EXPECT_EQ(retained->At(0, 0), 0xFFFFFFu);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(retained->At(120 + x, 11), picture.At(x, 1));
}

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

Rect ParseRect(const std::string& text) {
  Rect r;
  std::sscanf(text.c_str(), "%d,%d,%d,%d", &r.x, &r.y, &r.width, &r.height);
  return r;
}

TEST_F(ToolkitWineTest, LabelsAreDrawnOverTheSurfaceWithTheirBackgroundsTransparent) {
  ProbeFields fields = Run({"labels", Win(folder)});
  const auto shown = ReadPpm(folder + "/shown.ppm");
  const auto surface = ReadPpm(folder + "/retained.ppm");
  ASSERT_TRUE(shown && surface);
  // Inside a label every pixel is the surface's, or ink darker than it.
  auto inked = [&](const Rect& r, int& count) {
    count = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
      for (int x = r.x; x < r.x + r.width; ++x) {
        const std::uint32_t s = shown->At(x, y), b = surface->At(x, y);
        if (s == b) continue;
        ++count;
        for (int shift : {0, 8, 16})
          if (((s >> shift) & 0xFF) > ((b >> shift) & 0xFF)) return false;
      }
    }
    return true;
  };
  int ink = 0;
  const Rect plain{10, 10, 120, 20}, boxed{10, 40, 100, 30}, greyed{10, 85, 100, 20};
  const Rect see{120, 60, 70, 30}, solid{150, 95, 40, 20};
  EXPECT_TRUE(inked(plain, ink));
  EXPECT_GT(ink, 20);
  EXPECT_LT(ink, plain.width * plain.height / 2);
  // Auto-size: as large as the text on one line, from the same top-left.
  const Rect fitted = ParseRect(fields["fitted"]);
  EXPECT_EQ(fitted.x, 150);
  EXPECT_EQ(fitted.y, 12);
  EXPECT_GT(fitted.width, 10);
  EXPECT_LT(fitted.width, 60);
  EXPECT_GT(fitted.height, 8);
  EXPECT_TRUE(inked(fitted, ink));
  // A one-pixel black frame, the background showing inside it.
  for (int x = boxed.x; x < boxed.x + boxed.width; ++x) {
    EXPECT_EQ(shown->At(x, boxed.y), 0u);
    EXPECT_EQ(shown->At(x, boxed.y + boxed.height - 1), 0u);
  }
  EXPECT_EQ(shown->At(boxed.x + 1, boxed.y + boxed.height - 2), surface->At(boxed.x + 1, boxed.y + boxed.height - 2));
  // Disabled: white one pixel right and down, grey in place.
  int white = 0, grey = 0;
  for (int y = greyed.y; y < greyed.y + greyed.height; ++y)
    for (int x = greyed.x; x < greyed.x + greyed.width; ++x) {
      white += shown->At(x, y) == 0xFFFFFF;
      grey += shown->At(x, y) == 0x808080;
    }
  EXPECT_GT(white, 10);
  EXPECT_GT(grey, 10);
  // A transparent user control shows its container through; its label inks it.
  EXPECT_TRUE(inked(see, ink));
  EXPECT_GT(ink, 5);
  EXPECT_EQ(shown->At(solid.x + 3, solid.y + 3), 0x00A000u);
}

TEST_F(ToolkitWineTest, PicturesDecodeOrGiveNull) {
  const unsigned char colour[3] = {40, 160, 220};
  WriteJpeg(folder + "/flat.jpg", 24, 16, colour);
  ProbeFields fields = Run({"pictures", Win(folder + "/flat.jpg")});
  EXPECT_EQ(fields["bmp24"], "3x2 102030 405060 708090 A0B0C0 D0E0F0 010203");
  EXPECT_EQ(fields["bmp8"], "4x2 112233 FF8000 00A0FF 000000 00A0FF 00A0FF FF8000 112233");
  EXPECT_EQ(fields["rle8"], "4x2 112233 112233 112233 112233 FF8000 FF8000 00A0FF 00A0FF");
  for (const char* bad : {"truncated", "garbage", "empty", "bad_header", "huge", "jpeg_cut"})
    EXPECT_EQ(fields[bad], "null") << bad;
  std::istringstream jpeg(fields["jpeg"]);
  std::string size, pixel;
  jpeg >> size;
  EXPECT_EQ(size, "24x16");
  int pixels = 0;
  while (jpeg >> pixel) {
    ++pixels;
    const unsigned value = std::stoul(pixel, nullptr, 16);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(static_cast<int>(value >> (16 - 8 * c) & 0xFF), colour[c], 4) << pixel;
  }
  EXPECT_EQ(pixels, 8);
  EXPECT_EQ(fields["icon"], "32x32");
  EXPECT_EQ(fields["icon_handle"], "1");
  EXPECT_EQ(fields["cursor"], "12,10 cursor");
  EXPECT_EQ(fields["cursor_from_icon"], "null");
}

TEST_F(ToolkitWineTest, UserControlsHearTheMouseAndLabelsHaveNoWindow) {
  ProbeFields fields = Run({"mouse"});
  // A label has no window: over it the point is its container's.
  EXPECT_EQ(fields["at_uc_label"], "uc");
  EXPECT_EQ(fields["at_uc_body"], "uc");
  EXPECT_EQ(fields["at_form_label"], "form");
  EXPECT_EQ(fields["uc_parent"], "1");
  EXPECT_EQ(fields["pointer_busy"], "wait");
  EXPECT_EQ(fields["pointer_after"], "arrow");
  // Focus comes with the form; a right press on the control itself. A right
  // or middle press leaves the focus where it is, a left one moves it. The
  // labels' mouse is the conformance table's.
  EXPECT_EQ(fields["log"],
            "uc.focus uc.down(2,0,5,5) uc.up(2,0,5,5) "
            "uc2.down(2,0,5,5) uc2.up(2,0,5,5) uc2.down(4,0,5,5) uc2.up(4,0,5,5) "
            "uc.blur uc2.focus uc2.down(1,0,5,5) uc2.up(1,0,5,5)");
}

TEST_F(ToolkitWineTest, TabMovesTheFocusThroughTheTabOrder) {
  ProbeFields fields = Run({"tab"});
  // The label and the disabled control are passed over; Shift+Tab goes back.
  EXPECT_EQ(fields["focus"], "combo,b,a,d,combo,d");
}

TEST_F(ToolkitWineTest, OpenFileDialogTakesAndGivesJapaneseNames) {
  const std::string music = folder + "/音楽";
  fs::create_directories(music);
  ProbeFields chosen = Run({"filedialog", Win(music), "曲.mp3", "ok"});
  EXPECT_EQ(chosen["dialog_found"], "1");  // found by its Japanese title
  EXPECT_NE(chosen["result"], "0");
  EXPECT_EQ(chosen["path"], Win(music) + "\\曲.mp3");  // typed into the starting folder
  ProbeFields cancelled = Run({"filedialog", Win(music), "曲.mp3", "cancel"});
  EXPECT_EQ(cancelled["dialog_found"], "1");
  EXPECT_EQ(cancelled["result"], "0");
  EXPECT_EQ(cancelled["path"], "");
}

TEST_F(ToolkitWineTest, FixedSingleFormHasItsExactClientSizeAndNoSizingBoxes) {
  ProbeFields fields = Run({"fixed"});
  EXPECT_EQ(fields["client"], "496x243");  // whatever the frame measures
  EXPECT_EQ(fields["outer"], "40,30");
  EXPECT_EQ(fields["caption"], "1");
  EXPECT_EQ(fields["minmax"], "0");
}

// Last: the end of the session reaches every program of the Wine session.
TEST_F(ToolkitWineTest, EndOfSessionUnloadsTheForms) {
  const std::string notes = folder + "/session.txt";
  wine_harness::WineProcess form = SpawnUntil({"endsession", Win(notes)}, "ready");
  ASSERT_TRUE(form.Running()) << form.Output();
  session->Run("wineboot", {"-e"}, kRunSeconds);
  form.Wait(30000);
  // The system may end the process any time after WM_ENDSESSION returns:
  // the loop's own return may or may not come before that.
  const std::string written = testsupport::ReadBytes(notes);
  EXPECT_TRUE(written == "queryunload\nunload\n" || written == "queryunload\nunload\nloop-returned\n") << written;
}

}  // namespace
