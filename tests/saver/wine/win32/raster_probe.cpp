// saver_raster_probe.exe CASES OUT: runs GDI's GradientFill, StretchBlt and
// LineTo for each line of CASES and writes the pixels they leave to OUT.
//
// Every case paints into a memory DC holding a bitmap compatible with the
// screen (as a retained window surface is), first filled with a background
// colour so untouched pixels show. Case lines (numbers decimal, colours
// hexadecimal 0xRRGGBB without prefix):
//   G W H BG COUNT {X Y R G B A}*COUNT UPPERLEFT LOWERRIGHT
//       GradientFill(GRADIENT_FILL_RECT_V), components 16-bit
//   S W H BG DX DY DW DH SRC SW SH SX SY SWID SHEI {RGB}*(SW*SH)
//       StretchBlt(SRCCOPY) in the new DC's own stretch mode from a SW x SH
//       picture; SRC is "dib" (a 24-bit DIB section) or "ddb" (a compatible
//       bitmap set from 24-bit bits)
//   L W H BG X0 Y0 X1 Y1 RGB
//       MoveToEx + LineTo, solid one-pixel pen, R2_COPYPEN
// OUT gets one line per case: "N=" then the W x H pixels, rows top-down, as
// six hexadecimal digits each; "N=error ..." when a call fails.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Target {
  HDC screen = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  int width = 0;
  int height = 0;

  ~Target() {
    if (dc) {
      SelectObject(dc, old);
      DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
    if (screen) ReleaseDC(nullptr, screen);
  }
};

BITMAPINFO TopDownInfo(int width, int height, int bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// 24-bit rows padded to four bytes, as a BMP file holds them.
std::vector<std::uint8_t> Bits24(const std::vector<std::uint32_t>& pixels, int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bits(static_cast<size_t>(stride * height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t rgb = pixels[static_cast<size_t>(y * width + x)];
      std::uint8_t* p = &bits[static_cast<size_t>(y * stride + x * 3)];
      p[0] = static_cast<std::uint8_t>(rgb);
      p[1] = static_cast<std::uint8_t>(rgb >> 8);
      p[2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  return bits;
}

bool MakeTarget(Target& target, int width, int height, std::uint32_t background) {
  target.width = width;
  target.height = height;
  target.screen = GetDC(nullptr);
  target.dc = CreateCompatibleDC(target.screen);
  target.bitmap = CreateCompatibleBitmap(target.screen, width, height);
  if (!target.dc || !target.bitmap) return false;
  target.old = SelectObject(target.dc, target.bitmap);
  std::vector<std::uint32_t> fill(static_cast<size_t>(width * height), background);
  BITMAPINFO info = TopDownInfo(width, height, 32);
  return SetDIBits(target.dc, target.bitmap, 0, static_cast<UINT>(height), fill.data(), &info,
                   DIB_RGB_COLORS) == height;
}

std::string Pixels(Target& target) {
  std::vector<std::uint32_t> pixels(static_cast<size_t>(target.width * target.height));
  BITMAPINFO info = TopDownInfo(target.width, target.height, 32);
  // GetDIBits wants the bitmap out of the DC.
  SelectObject(target.dc, target.old);
  const int rows = GetDIBits(target.dc, target.bitmap, 0, static_cast<UINT>(target.height),
                             pixels.data(), &info, DIB_RGB_COLORS);
  target.old = SelectObject(target.dc, target.bitmap);
  if (rows != target.height) return "error GetDIBits";
  std::string text;
  char hex[8];
  for (std::uint32_t p : pixels) {
    std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(p & 0xFFFFFF));
    text += hex;
  }
  return text;
}

std::uint32_t Hex(std::istream& in) {
  std::string word;
  in >> word;
  return static_cast<std::uint32_t>(std::stoul(word, nullptr, 16));
}

COLORREF ColourRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::string Gradient(std::istream& in, Target& target) {
  int count = 0;
  in >> count;
  if (count < 0 || count > 64) return "error vertex count";
  std::vector<TRIVERTEX> vertices(static_cast<size_t>(count));
  for (TRIVERTEX& v : vertices) {
    long x, y;
    unsigned r, g, b, a;
    in >> x >> y >> r >> g >> b >> a;
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(r);
    v.Green = static_cast<COLOR16>(g);
    v.Blue = static_cast<COLOR16>(b);
    v.Alpha = static_cast<COLOR16>(a);
  }
  GRADIENT_RECT rect{};
  in >> rect.UpperLeft >> rect.LowerRight;
  if (!in) return "error case line";
  GradientFill(target.dc, vertices.data(), static_cast<ULONG>(count), &rect, 1, GRADIENT_FILL_RECT_V);
  return Pixels(target);
}

std::string Stretch(std::istream& in, Target& target) {
  int dx, dy, dw, dh, sw, sh, sx, sy, swid, shei;
  std::string kind;
  in >> dx >> dy >> dw >> dh >> kind >> sw >> sh >> sx >> sy >> swid >> shei;
  if (!in || sw <= 0 || sh <= 0 || sw * sh > 1 << 20) return "error case line";
  std::vector<std::uint32_t> source(static_cast<size_t>(sw * sh));
  for (std::uint32_t& p : source) p = Hex(in);
  if (!in) return "error source pixels";

  const std::vector<std::uint8_t> bits = Bits24(source, sw, sh);
  BITMAPINFO info = TopDownInfo(sw, sh, 24);
  HBITMAP picture = nullptr;
  if (kind == "dib") {
    void* memory = nullptr;
    picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (picture) CopyMemory(memory, bits.data(), bits.size());
  } else if (kind == "ddb") {
    picture = CreateCompatibleBitmap(target.screen, sw, sh);
    if (picture && SetDIBits(target.screen, picture, 0, static_cast<UINT>(sh), bits.data(), &info,
                             DIB_RGB_COLORS) != sh)
      return "error SetDIBits";
  } else {
    return "error source kind";
  }
  if (!picture) return "error picture";
  HDC sourceDc = CreateCompatibleDC(target.screen);
  HGDIOBJ oldPicture = SelectObject(sourceDc, picture);
  StretchBlt(target.dc, dx, dy, dw, dh, sourceDc, sx, sy, swid, shei, SRCCOPY);
  SelectObject(sourceDc, oldPicture);
  DeleteDC(sourceDc);
  DeleteObject(picture);
  return Pixels(target);
}

std::string Line(std::istream& in, Target& target) {
  int x0, y0, x1, y1;
  in >> x0 >> y0 >> x1 >> y1;
  const std::uint32_t rgb = Hex(in);
  if (!in) return "error case line";
  HPEN pen = CreatePen(PS_SOLID, 1, ColourRef(rgb));
  HGDIOBJ oldPen = SelectObject(target.dc, pen);
  SetROP2(target.dc, R2_COPYPEN);
  MoveToEx(target.dc, x0, y0, nullptr);
  LineTo(target.dc, x1, y1);
  SelectObject(target.dc, oldPen);
  DeleteObject(pen);
  return Pixels(target);
}

std::string RunCase(const std::string& line) {
  std::istringstream in(line);
  std::string op;
  int width = 0, height = 0;
  in >> op >> width >> height;
  const std::uint32_t background = Hex(in);
  if (!in || width <= 0 || height <= 0 || width * height > 1 << 20) return "error case line";
  Target target;
  if (!MakeTarget(target, width, height, background)) return "error target";
  if (op == "G") return Gradient(in, target);
  if (op == "S") return Stretch(in, target);
  if (op == "L") return Line(in, target);
  return "error operation";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream cases(argv[1]);
  std::ofstream out(argv[2], std::ios::binary);
  if (!cases || !out) return 1;
  std::string line;
  int index = 0;
  while (std::getline(cases, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    out << index++ << '=' << RunCase(line) << '\n';
  }
  out.flush();
  std::printf("cases=%d\n", index);
  return out ? 0 : 1;
}
