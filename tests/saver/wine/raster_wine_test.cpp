// toolkit::raster against GDI itself: the Windows build's probe runs
// GradientFill, StretchBlt and LineTo under Wine for a table of cases, and
// every pixel must equal what the raster functions compute.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "saver/toolkit/raster/raster.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"

namespace {

namespace fs = std::filesystem;
using toolkit::raster::GradientRect;
using toolkit::raster::GradientVertex;
using toolkit::raster::Image;
using toolkit::raster::PixelRect;

constexpr std::uint32_t Background = 0x010203;  // no operation here writes it

struct Case {
  std::string line;  // what the probe reads
  Image expected;
};

std::string Hex(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

std::string Head(char op, int width, int height) {
  std::ostringstream out;
  out << op << ' ' << width << ' ' << height << ' ' << Hex(Background);
  return out.str();
}

Case GradientCase(int width, int height, const std::vector<GradientVertex>& vertices, GradientRect rect) {
  std::ostringstream out;
  out << Head('G', width, height) << ' ' << vertices.size();
  for (const GradientVertex& v : vertices)
    out << ' ' << v.x << ' ' << v.y << ' ' << v.red << ' ' << v.green << ' ' << v.blue << ' ' << v.alpha;
  out << ' ' << rect.upperLeft << ' ' << rect.lowerRight;
  Case c{out.str(), Image(width, height, Background)};
  toolkit::raster::GradientFillRectV(c.expected, vertices.data(), static_cast<int>(vertices.size()), rect);
  return c;
}

Case StretchCase(int width, int height, const PixelRect& destination, const Image& picture,
                 const PixelRect& source, const char* pictureKind) {
  std::ostringstream out;
  out << Head('S', width, height) << ' ' << destination.x << ' ' << destination.y << ' ' << destination.width
      << ' ' << destination.height << ' ' << pictureKind << ' ' << picture.width << ' ' << picture.height << ' '
      << source.x << ' ' << source.y << ' ' << source.width << ' ' << source.height;
  for (std::uint32_t p : picture.pixels) out << ' ' << Hex(p);
  Case c{out.str(), Image(width, height, Background)};
  toolkit::raster::StretchCopy(c.expected, destination, picture, source);
  return c;
}

Case LineCase(int width, int height, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
  std::ostringstream out;
  out << Head('L', width, height) << ' ' << x0 << ' ' << y0 << ' ' << x1 << ' ' << y1 << ' ' << Hex(rgb);
  Case c{out.str(), Image(width, height, Background)};
  toolkit::raster::Line(c.expected, x0, y0, x1, y1, rgb);
  return c;
}

// Reproducible on every run; only this side generates the table.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : engine_(seed) {}
  int Between(int low, int high) { return low + static_cast<int>(engine_() % static_cast<std::uint32_t>(high - low + 1)); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  // Mostly set bits, so that ANDed pixels still tell their sources apart.
  std::uint32_t DenseColour() {
    std::uint32_t colour = 0;
    for (int bit = 0; bit < 24; ++bit)
      if (Chance(88)) colour |= 1u << bit;
    return colour;
  }
  Image Picture(int width, int height) {
    Image picture(width, height);
    for (std::uint32_t& p : picture.pixels) p = DenseColour();
    return picture;
  }

 private:
  std::mt19937 engine_;
};

GradientVertex Vertex(int x, int y, std::uint32_t rgb) {
  return {x, y, static_cast<std::uint16_t>((rgb >> 16 & 0xFF) << 8), static_cast<std::uint16_t>((rgb >> 8 & 0xFF) << 8),
          static_cast<std::uint16_t>((rgb & 0xFF) << 8), 0};
}

std::vector<Case> GradientCases() {
  std::vector<Case> cases;
  // The button's fill: four vertices, the record from vertex 1 to vertex 0,
  // white and lavender either way round.
  for (auto [w, h] : {std::pair{77, 25}, std::pair{41, 21}, std::pair{117, 28}, std::pair{5, 3}}) {
    for (bool reversed : {false, true}) {
      const std::uint32_t first = reversed ? 0xC6C5D7 : 0xFFFFFF;
      const std::uint32_t second = reversed ? 0xFFFFFF : 0xC6C5D7;
      const std::vector<GradientVertex> vertices = {Vertex(0, 0, first), Vertex(w - 1, h - 1, second), {}, {}};
      cases.push_back(GradientCase(w, h, vertices, {1, 0}));
      cases.push_back(GradientCase(w, h, vertices, {0, 1}));
    }
  }
  // A tall ramp, one row per step of the division.
  cases.push_back(GradientCase(2, 400, {Vertex(0, -3, 0x000000), Vertex(2, 390, 0xFFFFFF)}, {0, 1}));
  // Nothing: equal rows, equal columns, indexes beyond the vertices.
  const std::vector<GradientVertex> flat = {Vertex(0, 4, 0xFF0000), Vertex(6, 4, 0x00FF00)};
  cases.push_back(GradientCase(8, 8, flat, {0, 1}));
  cases.push_back(GradientCase(8, 8, {Vertex(3, 0, 0xFF0000), Vertex(3, 7, 0x00FF00)}, {1, 0}));
  cases.push_back(GradientCase(8, 8, {Vertex(0, 0, 0xFF0000), Vertex(7, 7, 0x00FF00)}, {0, 2}));
  cases.push_back(GradientCase(8, 8, {Vertex(0, 0, 0xFF0000), Vertex(7, 7, 0x00FF00)}, {1, 1}));

  // Any vertex order and place, 16-bit components with low bytes set.
  Dice dice(10);
  for (int i = 0; i < 160; ++i) {
    const int w = dice.Between(1, 30), h = dice.Between(1, 48);
    std::vector<GradientVertex> vertices(static_cast<std::size_t>(dice.Between(2, 4)));
    for (GradientVertex& v : vertices) {
      v.x = dice.Between(-8, w + 8);
      v.y = dice.Between(-12, h + 12);
      const bool full = dice.Chance(50);
      auto component = [&] { return static_cast<std::uint16_t>(full ? dice.Between(0, 0xFFFF) : dice.Between(0, 0xFF) << 8); };
      v.red = component();
      v.green = component();
      v.blue = component();
      v.alpha = component();
    }
    const auto count = static_cast<std::uint32_t>(vertices.size());
    const GradientRect rect{static_cast<std::uint32_t>(dice.Between(0, static_cast<int>(count) - 1)),
                            static_cast<std::uint32_t>(dice.Between(0, static_cast<int>(count) - 1))};
    cases.push_back(GradientCase(w, h, vertices, rect));
  }
  return cases;
}

// The eight frame pieces of a face of w x h pixels, cut from a 64 x 25 state
// picture, each on its own.
void AddFramePieces(std::vector<Case>& cases, const Image& picture, int w, int h, const char* kind) {
  const struct {
    PixelRect destination, source;
  } pieces[] = {
      {{0, 0, 4, 4}, {0, 0, 4, 4}},            {{4, 0, w - 8, 4}, {4, 0, 56, 4}},
      {{w - 4, 0, 4, 4}, {60, 0, 4, 4}},       {{w - 4, 4, 4, h - 8}, {60, 4, 4, 17}},
      {{w - 4, h - 4, 4, 4}, {60, 21, 4, 4}},  {{4, h - 4, w - 8, 4}, {4, 21, 56, 4}},
      {{0, h - 4, 4, 4}, {0, 21, 4, 4}},       {{0, 4, 4, h - 8}, {0, 4, 4, 17}},
  };
  for (const auto& piece : pieces) cases.push_back(StretchCase(w, h, piece.destination, picture, piece.source, kind));
}

std::vector<Case> StretchCases() {
  std::vector<Case> cases;
  Dice dice(20);
  const Image state = dice.Picture(64, 25);
  for (const char* kind : {"dib", "ddb"}) {
    AddFramePieces(cases, state, 77, 25, kind);
    AddFramePieces(cases, state, 41, 21, kind);
    AddFramePieces(cases, state, 117, 28, kind);
  }
  // Every shrink and growth between 1 and 24 pixels in each direction once.
  const Image strip = dice.Picture(24, 24);
  for (int n = 1; n <= 24; ++n)
    for (int m = 1; m <= 24; ++m) {
      if ((n + m) % 2 == 0)
        cases.push_back(StretchCase(m, 1, {0, 0, m, 1}, strip, {0, n % 3, n, 1}, "dib"));
      else
        cases.push_back(StretchCase(1, m, {0, 0, 1, m}, strip, {n % 3, 0, 1, n}, "ddb"));
    }
  // Zero extents draw nothing.
  for (const auto& [destination, source] :
       {std::pair{PixelRect{1, 1, 0, 3}, PixelRect{0, 0, 2, 2}}, std::pair{PixelRect{1, 1, 3, 0}, PixelRect{0, 0, 2, 2}},
        std::pair{PixelRect{1, 1, 3, 3}, PixelRect{0, 0, 0, 2}}, std::pair{PixelRect{1, 1, 3, 3}, PixelRect{0, 0, 2, 0}}})
    cases.push_back(StretchCase(6, 6, destination, strip, source, "dib"));

  for (int i = 0; i < 240; ++i) {
    const int pw = dice.Between(1, 70), ph = dice.Between(1, 40);
    const Image picture = dice.Picture(pw, ph);
    PixelRect source{0, 0, dice.Between(1, pw), dice.Between(1, ph)};
    source.x = dice.Between(0, pw - source.width);
    source.y = dice.Between(0, ph - source.height);
    PixelRect destination{0, 0, dice.Between(1, 80), dice.Between(1, 50)};
    if (dice.Chance(25)) destination.width = source.width;
    if (dice.Chance(25)) destination.height = source.height;
    if (dice.Chance(15)) destination.width = 1;
    if (dice.Chance(15)) destination.height = 1;
    int w = destination.width + dice.Between(0, 4), h = destination.height + dice.Between(0, 4);
    destination.x = dice.Between(0, w - destination.width);
    destination.y = dice.Between(0, h - destination.height);
    const int shape = i % 3;
    if (shape == 1) {
      // Mirrored: a negative extent runs back from the start pixel.
      if (dice.Chance(50)) destination = {destination.x + destination.width - 1, destination.y, -destination.width, destination.height};
      if (dice.Chance(50)) destination = {destination.x, destination.y + destination.height - 1, destination.width, -destination.height};
      if (dice.Chance(50)) source = {source.x + source.width - 1, source.y, -source.width, source.height};
      if (dice.Chance(50)) source = {source.x, source.y + source.height - 1, source.width, -source.height};
    } else if (shape == 2) {
      // Partly outside the surface, the picture, or both.
      w = dice.Between(1, 50);
      h = dice.Between(1, 40);
      destination.x = dice.Between(-destination.width - 2, w + 2);
      destination.y = dice.Between(-destination.height - 2, h + 2);
      source.width = dice.Between(1, pw + 10);
      source.height = dice.Between(1, ph + 10);
      source.x = dice.Between(-10, pw);
      source.y = dice.Between(-10, ph);
    }
    cases.push_back(StretchCase(w, h, destination, picture, source, dice.Chance(50) ? "dib" : "ddb"));
  }
  return cases;
}

std::vector<Case> LineCases() {
  std::vector<Case> cases;
  // The dialog's rows: (0, i) to (W, i), W one past the last column.
  for (int row : {0, 3, 7}) cases.push_back(LineCase(496, 8, 0, row, 496, row, 0x1E0000 + row));
  cases.push_back(LineCase(40, 4, 39, 1, -5, 1, 0xC0FFEE));
  cases.push_back(LineCase(4, 40, 1, 0, 1, 39, 0x123456));
  cases.push_back(LineCase(4, 40, 2, 50, 2, -1, 0x654321));
  cases.push_back(LineCase(9, 9, 4, 4, 4, 4, 0xFFFFFF));
  // Every direction from one point, halves included.
  for (int x = 0; x <= 16; ++x)
    for (int y : {0, 3, 8, 13, 16}) cases.push_back(LineCase(17, 17, 8, 8, x, y, 0x808080 + x));
  Dice dice(30);
  for (int i = 0; i < 200; ++i) {
    const int w = dice.Between(1, 40), h = dice.Between(1, 40);
    const int x0 = dice.Between(-10, w + 10), y0 = dice.Between(-10, h + 10);
    int x1 = dice.Between(-10, w + 10), y1 = dice.Between(-10, h + 10);
    if (i % 5 == 0) y1 = y0;
    if (i % 5 == 1) x1 = x0;
    cases.push_back(LineCase(w, h, x0, y0, x1, y1, dice.DenseColour()));
  }
  return cases;
}

// One probe run for every case of the binary.
class RasterAgainstGdi : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::optional<std::string> probe = wine_harness::WindowsBinary("saver_raster_probe.exe");
    if (!probe) {
      skipReason_ = "the Windows build's saver_raster_probe.exe is not built";
      return;
    }
    std::string error;
    wine_harness::WineSession* session = wine_harness::SharedSession({}, error);
    if (!session) {
      setupError_ = error;
      return;
    }
    gradients_ = GradientCases();
    stretches_ = StretchCases();
    lines_ = LineCases();

    const fs::path dir = fs::path(session->WorkDir()) / "raster";
    fs::create_directories(dir);
    {
      std::ofstream casesFile(dir / "cases.txt", std::ios::binary);
      for (const auto* family : {&gradients_, &stretches_, &lines_})
        for (const Case& c : *family) casesFile << c.line << '\n';
    }
    const wine_harness::RunResult run = session->Run(
        *probe, {wine_harness::WindowsPath((dir / "cases.txt").string()), wine_harness::WindowsPath((dir / "pixels.txt").string())},
        300);
    if (run.exitCode != 0) {
      setupError_ = "probe failed (exit " + std::to_string(run.exitCode) + "): " + run.output;
      return;
    }
    std::ifstream pixels(dir / "pixels.txt", std::ios::binary);
    std::string line;
    while (std::getline(pixels, line)) {
      const auto equals = line.find('=');
      if (equals != std::string::npos) results_[std::stoi(line.substr(0, equals))] = line.substr(equals + 1);
    }
  }

  void SetUp() override {
    if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
    ASSERT_TRUE(setupError_.empty()) << setupError_;
  }

  // Cases are numbered in file order across the three families.
  static void ExpectFamily(const std::vector<Case>& family, int firstIndex) {
    int failures = 0;
    for (std::size_t i = 0; i < family.size(); ++i) {
      const Case& c = family[i];
      const auto found = results_.find(firstIndex + static_cast<int>(i));
      ASSERT_NE(found, results_.end()) << "no result for " << c.line.substr(0, 120);
      const std::string& got = found->second;
      std::string want;
      for (std::uint32_t p : c.expected.pixels) want += Hex(p);
      if (got == want) continue;
      std::string where = "size differs";
      if (got.size() == want.size())
        for (std::size_t p = 0; p < want.size(); p += 6)
          if (got.compare(p, 6, want, p, 6) != 0) {
            const int pixel = static_cast<int>(p / 6);
            where = "first difference at (" + std::to_string(pixel % c.expected.width) + ", " +
                    std::to_string(pixel / c.expected.width) + "): GDI " + got.substr(p, 6) + ", raster " +
                    want.substr(p, 6);
            break;
          }
      ADD_FAILURE() << c.line.substr(0, 160) << "\n  " << (got.rfind("error", 0) == 0 ? got : where);
      if (++failures == 10) return;
    }
  }

  static int StretchFirst() { return static_cast<int>(gradients_.size()); }
  static int LineFirst() { return static_cast<int>(gradients_.size() + stretches_.size()); }

  static inline std::string skipReason_;
  static inline std::string setupError_;
  static inline std::vector<Case> gradients_, stretches_, lines_;
  static inline std::map<int, std::string> results_;
};

TEST_F(RasterAgainstGdi, GradientFillRectVGivesGdisPixels) { ExpectFamily(gradients_, 0); }

TEST_F(RasterAgainstGdi, StretchCopyGivesStretchBltsPixelsInTheDefaultMode) {
  ExpectFamily(stretches_, StretchFirst());
}

TEST_F(RasterAgainstGdi, LineGivesLineTosPixels) { ExpectFamily(lines_, LineFirst()); }

}  // namespace
