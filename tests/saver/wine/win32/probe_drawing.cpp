// Retained surfaces, windowless labels over them, and decoded pictures.
#include <memory>
#include <string>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/toolkit/win32/picture.h"

namespace probe {
namespace {

using toolkit::MakeColour;

HWND HandleOf(const toolkit::Container& container) { return reinterpret_cast<HWND>(container.Handle()); }

void Capture(const std::string& path, const Pixels& pixels) {
  Print("capture", WritePpm(path, pixels) ? path : "failed");
}

std::string RectText(const toolkit::PixelRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
         std::to_string(r.height);
}

// The two colours of the program's button gradient, top to bottom.
void FillGradient(toolkit::Surface& surface, int width, int height) {
  const toolkit::GradientVertex vertices[2] = {
      {0, 0, 0xFF00, 0xFF00, 0xFF00, 0},
      {width - 1, height - 1, 0x3000, 0x5000, 0xA000, 0},
  };
  surface.GradientFillRectV(vertices, {1, 0});
}

class Quiet : public toolkit::UserControlEvents {};

// A bottom-up 24-bit BMP of these pixels.
std::vector<unsigned char> MakeBmp24(const Pixels& pixels) {
  const int stride = (pixels.width * 3 + 3) & ~3;
  std::vector<unsigned char> bits(static_cast<size_t>(stride * pixels.height), 0);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      for (int c = 0; c < 3; ++c)
        bits[static_cast<size_t>((pixels.height - 1 - y) * stride + x * 3 + c)] =
            static_cast<unsigned char>(pixels.At(x, y) >> (8 * c));
  return MakeBmp(24, pixels.width, pixels.height, BI_RGB, {}, bits);
}

}  // namespace

int SurfaceScenario(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  const std::string folder = args[0];
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Surface");
  form->SetClientSize({160, 120});
  form->SetBackColour(MakeColour(10, 20, 30));
  Pixels source{4, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000000}};
  const toolkit::PictureRef picture = app.LoadPicture(MakeBmp24(source));
  Print("picture", picture ? 1 : 0);
  int resizes = 0;
  events.resize = [&] {
    ++resizes;
    toolkit::Surface& surface = form->GetSurface();
    surface.Clear();
    FillGradient(surface, 80, 60);
    surface.Line({0, 100}, {50, 100}, MakeColour(255, 0, 0));
    surface.Line({100, 60}, {100, 110}, MakeColour(0, 255, 0));
    surface.Line({60, 70}, {91, 84}, MakeColour(255, 255, 0));
    if (picture) {
      // Doubled, 1:1, shrunk (as the button's narrow edges are) and grown unevenly.
      surface.PaintPicture(*picture, {100, 10, 8, 4}, {0, 0, 4, 2});
      surface.PaintPicture(*picture, {120, 10, 4, 2}, {0, 0, 4, 2});
      surface.PaintPicture(*picture, {130, 30, 3, 1}, {0, 0, 4, 2});
      surface.PaintPicture(*picture, {130, 40, 7, 3}, {0, 0, 4, 2});
    }
    surface.Refresh();
  };
  RunSteps(*form, 300,
           {[&] {
              Capture(folder + "\\retained.ppm", CaptureSurface(form->GetSurface()));
              Capture(folder + "\\shown.ppm", CaptureWindow(HandleOf(*form)));
            },
            [&] {
              // The system asks for the whole window again.
              InvalidateRect(HandleOf(*form), nullptr, TRUE);
              UpdateWindow(HandleOf(*form));
              Capture(folder + "\\invalidated.ppm", CaptureWindow(HandleOf(*form)));
              ShowWindow(HandleOf(*form), SW_HIDE);
            },
            [&] {
              ShowWindow(HandleOf(*form), SW_SHOW);
              UpdateWindow(HandleOf(*form));
              Capture(folder + "\\reshown.ppm", CaptureWindow(HandleOf(*form)));
            }});
  form->Show(false);
  app.RunEventLoop();
  Print("resizes", resizes);
  return 0;
}

int Labels(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  const std::string folder = args[0];
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Labels");
  form->SetClientSize({200, 120});
  toolkit::Label& plain = form->AddLabel();
  plain.Move({10, 10, 120, 20});
  plain.SetCaption("Tovarel Ag");
  toolkit::Label& boxed = form->AddLabel();
  boxed.Move({10, 40, 100, 30});
  boxed.SetBorder(true);
  boxed.SetCaption("Box");
  toolkit::Label& greyed = form->AddLabel();
  greyed.Move({10, 85, 100, 20});
  greyed.SetCaption("Grey text");
  greyed.SetEnabled(false);
  toolkit::Label& fitted = form->AddLabel();
  fitted.Move({140, 10, 5, 5});
  fitted.SetAutoSize(true);
  fitted.SetCaption("Auto");
  fitted.Move({150, 12, 1, 1});  // moves it; its size stays the text's
  Quiet quiet;
  toolkit::UserControl& see = form->AddUserControl(quiet);
  see.Move({120, 60, 70, 30});
  see.SetTransparent(true);
  toolkit::Label& inside = see.AddLabel();
  inside.Move({0, 8, 70, 20});
  inside.SetAlignment(toolkit::Alignment::Centre);
  inside.SetCaption("UC");
  toolkit::UserControl& solid = form->AddUserControl(quiet);
  solid.Move({150, 95, 40, 20});
  solid.SetBackColour(MakeColour(0, 160, 0));
  events.resize = [&] { FillGradient(form->GetSurface(), 200, 120); };
  RunSteps(*form, 300, {[&] {
             Capture(folder + "\\retained.ppm", CaptureSurface(form->GetSurface()));
             Capture(folder + "\\shown.ppm", CaptureWindow(HandleOf(*form)));
             Print("fitted", RectText(fitted.Bounds()));
           }});
  form->Show(false);
  app.RunEventLoop();
  return 0;
}

int Pictures(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  Events events;
  auto form = app.CreateForm(events);
  form->SetClientSize({64, 16});
  toolkit::Surface& surface = form->GetSurface();
  // Decodes, then copies the picture 1:1 onto the surface and reads it back.
  auto check = [&](const std::string& name, const std::vector<unsigned char>& data) {
    const toolkit::PictureRef picture = app.LoadPicture(data);
    if (!picture) {
      Print(name, "null");
      return;
    }
    const toolkit::Size size = picture->PixelSize();
    surface.Clear();
    surface.PaintPicture(*picture, {0, 0, size.width, size.height}, {0, 0, size.width, size.height});
    const Pixels back = CaptureSurface(surface);
    std::string text = std::to_string(size.width) + "x" + std::to_string(size.height);
    for (int y = 0; y < size.height && y < 2; ++y)
      for (int x = 0; x < size.width && x < 4; ++x) text += " " + Hex(back.At(x, y));
    Print(name, text);
  };
  const std::vector<std::uint32_t> palette{0x000000, 0x112233, 0xFF8000, 0x00A0FF};
  // 3 x 2, 24-bit, bottom-up: rows of 12 bytes (9 + padding).
  check("bmp24", MakeBmp24(Pixels{3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203}}));
  // 4 x 2, 8-bit palette, top-down.
  check("bmp8", MakeBmp(8, 4, -2, BI_RGB, palette, {1, 2, 3, 0, 3, 3, 2, 1}));
  // 4 x 2, RLE8: bottom row two of index 2 then two of 3; top row four of 1.
  check("rle8", MakeBmp(8, 4, 2, BI_RLE8, palette, {2, 2, 2, 3, 0, 0, 4, 1, 0, 0, 0, 1}));
  std::vector<unsigned char> cut = MakeBmp24(Pixels{8, 8, std::vector<std::uint32_t>(64, 0x123456)});
  cut.resize(cut.size() - 10);
  check("truncated", cut);
  check("garbage", {'h', 'e', 'l', 'l', 'o'});
  check("empty", {});
  check("bad_header", MakeBmp(7, 4, 2, BI_RGB, {}, std::vector<unsigned char>(64, 0)));
  check("huge", MakeBmp(24, 100000, 100000, BI_RGB, {}, std::vector<unsigned char>(64, 0)));
  check("jpeg", ReadFile(args[0]));
  std::vector<unsigned char> halfJpeg = ReadFile(args[0]);
  halfJpeg.resize(halfJpeg.size() / 3);
  check("jpeg_cut", halfJpeg);

  const toolkit::PictureRef icon = app.LoadPicture(MakeIconFile(false, 0, 0, 0x3366CC));
  const auto* ownIcon = dynamic_cast<const toolkit::win32::Win32Picture*>(icon.get());
  Print("icon", icon ? std::to_string(icon->PixelSize().width) + "x" + std::to_string(icon->PixelSize().height) : "null");
  Print("icon_handle", ownIcon && ownIcon->Icon() ? 1 : 0);

  const toolkit::CursorRef cursor = app.LoadCursor(MakeIconFile(true, 12, 10, 0xFFFFFF));
  const auto* ownCursor = dynamic_cast<const toolkit::win32::Win32Cursor*>(cursor.get());
  ICONINFO info{};
  if (ownCursor && GetIconInfo(ownCursor->Handle(), &info)) {
    Print("cursor", std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot) +
                        (info.fIcon ? " icon" : " cursor"));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  } else {
    Print("cursor", "null");
  }
  Print("cursor_from_icon", app.LoadCursor(MakeIconFile(false, 0, 0, 0)) ? "made" : "null");
  return 0;
}

}  // namespace probe
