// Tovarel.scr /c of the Windows build under Wine, driven as a user would:
// the fixed "<Tovarel>" window, its painted gradients read from the
// screen, pointer clicks that write Tovarel.ini, the run that plays that
// choice, and the whole dialog against its golden image.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/saver/wine/gui_wine_fixture.h"
#include "tools/xclient/png_file.h"
#include "saver/common/code_page.h"

namespace saver_gui_wine {
namespace {

constexpr int kClientWidth = 496, kClientHeight = 243;
// The panel Pic_C(0) in the client area: (180, 240) twips, 469 x 165 pixels.
constexpr int kPanelX = 12, kPanelY = 16, kPanelHeight = 165;

std::string Cp932(const std::string& utf8) { return *common::Utf8ToCp932(utf8); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t Rgb(int r, int g, int b) { return static_cast<std::uint32_t>(r << 16 | g << 8 | b); }

// |sin(i / a) * 220| with a = H / 3.142, halves to even.
int Level(int row, int height) {
  return static_cast<int>(std::nearbyint(std::fabs(std::sin(row / (height / 3.142)) * 220)));
}

struct Rect {
  int x, y, width, height;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// Where text is drawn (client pixels): fonts may differ here by a little.
const Rect kTextRegions[] = {
    {kPanelX + 20, kPanelY + 24, 111, 13},  // "BGM"
    {kPanelX + 44, kPanelY + 54, 60, 17},   // "音楽CD"
    {kPanelX + 44, kPanelY + 74, 40, 17},   // "なし"
    {kPanelX + 44, kPanelY + 94, 80, 17},   // "MP3、WAV"
    {kPanelX + 156, kPanelY + 54, 110, 17}, // "曲目をﾘﾋﾟｰﾄ"
    {kPanelX + 112, kPanelY + 52, 41, 20},  // the repeat box, drawn by the system
    {kPanelX + 28, kPanelY + 119, 41, 13},  // "..."
    {324, 205, 77, 13},                     // "設定"
    {404, 205, 77, 13},                     // "ｷｬﾝｾﾙ"
    {12, 188, 260, 17},                     // the credit line
    {12, 206, 260, 17},                     // the web address, underlined
};

class DialogWine : public GuiWineTest {
 protected:
  // Starts /c and waits until both gradients are on the screen.
  wine_harness::WineProcess OpenDialog() {
    wine_harness::WineProcess dialog = session->Spawn(Scr(), {"/c"}, kProgramSeconds);
    EXPECT_TRUE(WaitUntil([&] { return wine_harness::XWindowMapped(DisplayName(), "<Tovarel>") || !dialog.Running(); },
                          60s))
        << dialog.Output();
    window = Windows({"window", "<Tovarel>"});
    std::sscanf(ProbeField(window, "client_origin").c_str(), "%d,%d", &originX, &originY);
    EXPECT_TRUE(WaitUntil(
        [&] {
          const auto shown = Client();
          return shown && shown->At(490, 121) == Rgb(220, 220, 250) &&
                 shown->At(465, kPanelY + 82) == Rgb(250, 250, 250);
        },
        30s))
        << "the dialog's gradients never showed";
    return dialog;
  }
  std::optional<wine_harness::ScreenPixels> Client() const {
    return wine_harness::CaptureScreen(DisplayName(), originX, originY, kClientWidth, kClientHeight);
  }
  void Click(int clientX, int clientY) const {
    ASSERT_TRUE(wine_harness::ClickAt(DisplayName(), originX + clientX, originY + clientY));
    std::this_thread::sleep_for(300ms);
  }

  ProbeFields window;
  int originX = 0, originY = 0;
};

TEST_F(DialogWine, FixedWindowWithItsClientAreaAndNoSizingBoxes) {
  wine_harness::WineProcess dialog = OpenDialog();
  EXPECT_EQ(ProbeField(window, "found"), "1");
  EXPECT_EQ(ProbeField(window, "visible"), "1");
  EXPECT_EQ(ProbeField(window, "client"), "496x243");
  EXPECT_EQ(ProbeField(window, "caption"), "1");
  EXPECT_EQ(ProbeField(window, "sysmenu"), "1");  // the close box
  EXPECT_EQ(ProbeField(window, "minimizebox"), "0");
  EXPECT_EQ(ProbeField(window, "maximizebox"), "0");
  EXPECT_EQ(ProbeField(window, "thickframe"), "0");
  EXPECT_EQ(ProbeField(window, "size_enabled"), "0");
  EXPECT_NE(ProbeField(window, "corner_hit"), "17");  // HTBOTTOMRIGHT: no grip to resize by
  // Centred, its top at a third of the free height (1024 x 768 screen).
  int left = 0, top = 0, width = 0, height = 0;
  std::sscanf(ProbeField(window, "outer").c_str(), "%d,%d,%d,%d", &left, &top, &width, &height);
  EXPECT_EQ(left, (1024 * 15 - width * 15) / 2 / 15);
  EXPECT_EQ(top, (768 * 15 - height * 15) / 3 / 15);
  wine_harness::SendDeleteWindow(DisplayName(), "<Tovarel>");
  EXPECT_EQ(dialog.Wait(30000), 0);
}

TEST_F(DialogWine, JapaneseFontNameHasGlyphsForEveryText) {
  // What the dialog's labels ask for, in the session's font set-up.
  const ProbeFields font = Windows({"font", "ＭＳ Ｐゴシック", "9.75", "音楽CDなし曲目をﾘﾋﾟｰﾄ設定ｷｬﾝｾﾙ、"});
  EXPECT_EQ(ProbeField(font, "missing"), "0");
  EXPECT_EQ(ProbeField(font, "charset"), "128");
  EXPECT_EQ(ProbeField(font, "fixed_pitch"), "0");  // a proportional face, as MS P Gothic is
  EXPECT_LT(std::atoi(ProbeField(font, "width_i").c_str()), std::atoi(ProbeField(font, "width_W").c_str()));
}

TEST_F(DialogWine, GradientRowsAreTheReferenceTablesOnTheScreen) {
  wine_harness::WineProcess dialog = OpenDialog();
  const auto shown = Client();
  ASSERT_TRUE(shown);
  // The dialog pass at column 490, beside every control.
  const std::pair<int, std::uint32_t> dialogTable[] = {
      {0, Rgb(0, 0, 30)},         {1, Rgb(3, 3, 33)},         {10, Rgb(28, 28, 58)},
      {30, Rgb(83, 83, 113)},     {60, Rgb(154, 154, 184)},   {121, Rgb(220, 220, 250)},
      {183, Rgb(154, 154, 184)},  {242, Rgb(3, 3, 33)}};
  for (const auto& [row, colour] : dialogTable) EXPECT_EQ(shown->At(490, row), colour) << "dialog row " << row;
  for (int row = 0; row < kClientHeight; ++row) {
    const int level = Level(row, kClientHeight);
    EXPECT_EQ(shown->At(490, row), Rgb(level, level, level + 30)) << "dialog row " << row;
  }
  // The panel's pass at client column 465, its own rows from its top.
  const std::pair<int, int> panelTable[] = {{0, 30}, {10, 72}, {82, 250}, {164, 34}};
  for (const auto& [row, grey] : panelTable)
    EXPECT_EQ(shown->At(465, kPanelY + row), Rgb(grey, grey, grey)) << "panel row " << row;
  for (int row = 0; row < kPanelHeight; ++row) {
    const int grey = Level(row, kPanelHeight) + 30;
    EXPECT_EQ(shown->At(465, kPanelY + row), Rgb(grey, grey, grey)) << "panel row " << row;
  }
  // The dialog's gradient goes on above and below the panel.
  EXPECT_EQ(shown->At(465, kPanelY - 1), shown->At(490, kPanelY - 1));
  EXPECT_EQ(shown->At(465, kPanelY + kPanelHeight), shown->At(490, kPanelY + kPanelHeight));
  wine_harness::SendDeleteWindow(DisplayName(), "<Tovarel>");
  EXPECT_EQ(dialog.Wait(30000), 0);
}

TEST_F(DialogWine, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
  const std::string stored =
      Cp932("; kept as it is\r\n[Section]\r\nBGM区分= 1\r\nBGMﾘﾋﾟｰﾄ= 5\r\nBGMﾌｧｲﾙ=C:\\音楽\\曲.mp3\r\n");
  for (const std::string how : {"cancel", "close box"}) {
    std::ofstream(Ini(), std::ios::binary) << stored;
    wine_harness::WineProcess dialog = OpenDialog();
    // A choice made first changes nothing on disk either.
    Click(kPanelX + 44 + 10, kPanelY + 96 + 6);  // "MP3、WAV"
    if (how == "cancel") {
      Click(404 + 38, 200 + 12);  // Cmd_Can
    } else {
      wine_harness::SendDeleteWindow(DisplayName(), "<Tovarel>");
    }
    EXPECT_EQ(dialog.Wait(30000), 0) << how;
    EXPECT_EQ(ReadBytes(Ini()), stored) << how;
  }
}

TEST_F(DialogWine, ClicksChooseTheCdAndATrackAndSetWritesThemForTheRun) {
  wine_harness::WineProcess dialog = OpenDialog();
  Click(kPanelX + 44 + 12, kPanelY + 56 + 6);   // "音楽CD": the repeat box comes on
  Click(kPanelX + 112 + 12, kPanelY + 52 + 10);  // into the repeat box
  ASSERT_TRUE(wine_harness::HoldKey(DisplayName(), "3", 60));
  std::this_thread::sleep_for(300ms);
  Click(324 + 38, 200 + 12);  // "設定"
  ASSERT_EQ(dialog.Wait(30000), 0) << dialog.Output();
  // The bytes a Japanese Windows writes, names in code page 932, numbers
  // with their sign's blank: the same as the Linux build's.
  EXPECT_EQ(ReadBytes(Ini()), Cp932("[Section]\r\nBGM区分= 1\r\nBGMﾘﾋﾟｰﾄ= 3\r\nBGMﾌｧｲﾙ=\r\n"));

  // The run plays that choice: no CD drive here, so it is silent, and it
  // still runs until Escape.
  wine_harness::WineProcess run = session->Spawn(Scr(), {"/s"}, kProgramSeconds);
  ASSERT_TRUE(WaitUntil([&] { return XWindow("Lumora_VC") || !run.Running(); }, 60s)) << run.Output();
  EXPECT_EQ(ProbeField(Windows({"find", "Lumora_Main"}), "found1"), "1");
  std::this_thread::sleep_for(1500ms);  // past the CD watch's first ticks
  EXPECT_TRUE(run.Running());
  EXPECT_FALSE(MessageBoxShown());
  ASSERT_TRUE(wine_harness::WaitForFocus(DisplayName(), "Lumora_VC", 30000));
  ASSERT_TRUE(wine_harness::HoldKey(DisplayName(), "Escape", 200));
  EXPECT_EQ(run.Wait(30000), 0);
}

TEST_F(DialogWine, WholeDialogMatchesItsGoldenImage) {
  wine_harness::WineProcess dialog = OpenDialog();
  std::this_thread::sleep_for(500ms);
  const auto shown = Client();
  ASSERT_TRUE(shown);
  wine_harness::SendDeleteWindow(DisplayName(), "<Tovarel>");
  EXPECT_EQ(dialog.Wait(30000), 0);
  xclient::Image image{shown->width, shown->height, {}};
  for (std::uint32_t p : shown->rgb)
    for (int shift : {16, 8, 0}) image.rgb.push_back(static_cast<std::uint8_t>(p >> shift));
  const std::string golden = std::string(TOVAREL_DIALOG_GOLDEN_DIR) + "/dialog_wine.png";
  if (const char* regenerate = std::getenv("TOVAREL_WRITE_GOLDEN"); regenerate && *regenerate) {
    ASSERT_TRUE(xclient::WritePng(golden, image));
    GTEST_SKIP() << "wrote " << golden;
  }
  const auto expected = xclient::ReadPng(golden);
  ASSERT_TRUE(expected) << golden << ": run tools/regenerate-dialog-golden-wine.sh";
  ASSERT_EQ(expected->width, kClientWidth);
  ASSERT_EQ(expected->height, kClientHeight);
  int exactMisses = 0;
  std::vector<int> textMisses(std::size(kTextRegions), 0);
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * kClientWidth + x) * 3;
      int worst = 0;
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int(image.rgb[at + c]) - int(expected->rgb[at + c])));
      if (worst == 0) continue;
      std::size_t region = 0;
      while (region < std::size(kTextRegions) && !kTextRegions[region].Contains(x, y)) ++region;
      if (region == std::size(kTextRegions)) {
        if (exactMisses++ < 5) ADD_FAILURE() << "(" << x << "," << y << ") differs by " << worst;
      } else if (worst > 64) {
        ++textMisses[region];
      }
    }
  }
  // Gradients, frames, faces and markers: exactly.
  EXPECT_EQ(exactMisses, 0);
  // Text: another build of the font may shift a few glyph pixels.
  for (std::size_t i = 0; i < std::size(kTextRegions); ++i) {
    const Rect& r = kTextRegions[i];
    EXPECT_LE(textMisses[i], r.width * r.height / 4) << "text region " << i;
  }
}

}  // namespace
}  // namespace saver_gui_wine
