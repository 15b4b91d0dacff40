// button_faces.exe FOLDER | bench: the real Command on the Win32 toolkit.
// FOLDER: every golden face (face_<look>_<w>x<h>.bmp: the retained image;
// shown_<look>_<w>x<h>.bmp: the window on screen), and a face with the
// caption "設定" at each size (caption_<w>x<h>.bmp) with its label's bounds.
// bench: the cost of one PaintFace at 77 x 25 and of a hover tick that
// changes nothing, in microseconds.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/saver/wine/win32/probe_support.h"
#include "tests/saver/button/face_looks.h"

namespace {

using button::faces::FaceCases;
using button::faces::FaceSize;
using button::faces::kFaceSizes;
using probe::Pixels;

bool WriteBmp(const std::string& path, const Pixels& pixels) {
  const int stride = (pixels.width * 3 + 3) & ~3;
  std::vector<unsigned char> bits(static_cast<size_t>(stride * pixels.height), 0);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      for (int c = 0; c < 3; ++c)
        bits[static_cast<size_t>((pixels.height - 1 - y) * stride + x * 3 + c)] =
            static_cast<unsigned char>(pixels.At(x, y) >> (8 * c));
  const std::vector<unsigned char> file = probe::MakeBmp(24, pixels.width, pixels.height, BI_RGB, {}, bits);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

HWND WindowOf(button::Command& command) { return reinterpret_cast<HWND>(command.Control().Handle()); }

std::string SizeText(const Pixels& p) { return std::to_string(p.width) + "x" + std::to_string(p.height); }

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

int Faces(probe::App& app, const std::string& folder) {
  probe::Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Button Faces");
  form->SetClientSize({200, 100});
  std::vector<std::unique_ptr<button::Command>> made;  // alive as long as their controls
  std::vector<std::function<void()>> steps;
  for (const FaceSize& size : kFaceSizes) {
    for (const auto& face : FaceCases()) {
      steps.push_back([&, size, face] {
        made.push_back(button::faces::MakeFaceButton(app, *form, size, ""));
        button::Command& command = *made.back();
        face.drive(command);
        // Read at once: nothing else may paint it in between.
        const Pixels retained = probe::CaptureSurface(command.Control().GetSurface());
        const Pixels shown = probe::CaptureWindow(WindowOf(command));
        const std::string tail = face.name + std::string("_") + SizeText(retained) + ".bmp";
        probe::Print(face.name + std::string("_") + SizeText(retained),
                     WriteBmp(folder + "\\face_" + tail, retained) && WriteBmp(folder + "\\shown_" + tail, shown)
                         ? "written"
                         : "failed");
        command.Control().SetVisible(false);
      });
    }
    steps.push_back([&, size] { made.push_back(button::faces::MakeFaceButton(app, *form, size, "設定")); });
    // The caption is placed after the face is shown: it draws at the next paint.
    steps.push_back([&] {
      button::Command& command = *made.back();
      const Pixels shown = probe::CaptureWindow(WindowOf(command));
      const toolkit::PixelRect label = command.LblMsg.Bounds();
      probe::Print("label_" + SizeText(shown), std::to_string(label.x) + "," + std::to_string(label.y) + "," +
                                                   std::to_string(label.width) + "," + std::to_string(label.height));
      WriteBmp(folder + "\\caption_" + SizeText(shown) + ".bmp", shown);
      command.Control().SetVisible(false);
    });
  }
  probe::RunSteps(*form, 100, std::move(steps));
  form->Show(false);
  app.RunEventLoop();
  probe::Print("done", 1);
  return 0;
}

int Bench(probe::App& app) {
  probe::Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Button Bench");
  form->SetClientSize({200, 100});
  std::unique_ptr<button::Command> command;
  probe::RunSteps(*form, 100, {[&] {
                    command = button::faces::MakeFaceButton(app, *form, kFaceSizes[0], "設定");
                    // The pointer far from the button: a tick finds nothing to end.
                    SetCursorPos(1000, 700);
                    constexpr int kRounds = 200;
                    LARGE_INTEGER start, end;
                    QueryPerformanceCounter(&start);
                    for (int i = 0; i < kRounds; ++i) command->PaintFace(button::Look::Normal);
                    QueryPerformanceCounter(&end);
                    probe::Print("paintface_us", static_cast<long long>(Microseconds(start, end) / kRounds));
                    constexpr int kTicks = 2000;
                    QueryPerformanceCounter(&start);
                    for (int i = 0; i < kTicks; ++i) command->TimerTick();
                    QueryPerformanceCounter(&end);
                    probe::Print("idle_tick_us_x100", static_cast<long long>(Microseconds(start, end) * 100 / kTicks));
                  }});
  form->Show(false);
  app.RunEventLoop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  probe::App app;
  const std::string arg = argv[1];
  return arg == "bench" ? Bench(app) : Faces(app, arg);
}
