#pragma once
// toolkit_probe.exe, the Windows-side program of the toolkit's Wine tests:
// its scenarios (each prints key=value lines and returns the exit code) and
// their shared pieces: output, form events, pixel capture, file data, input.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "saver/toolkit/win32/win32_application.h"
#include "saver/toolkit/win32/windows_api.h"

namespace probe {

// key=value on standard output, at once.
void Print(const std::string& key, const std::string& value);
void Print(const std::string& key, long long value);


// Form events as functions; an event log for the order.
class Events : public toolkit::FormEvents {
 public:
  std::function<void()> load, resize, queryUnload, unload;
  std::string log;

  void Load() override { Note("load", load); }
  void Resize() override { Note("resize", resize); }
  void QueryUnload() override { Note("queryunload", queryUnload); }
  void Unload() override { Note("unload", unload); }

 private:
  void Note(const char* name, const std::function<void()>& handler) {
    log += log.empty() ? name : std::string(",") + name;
    if (handler) handler();
  }
};

// 0x00RRGGBB pixels, rows top-down.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> data;
  std::uint32_t At(int x, int y) const { return data[static_cast<size_t>(y * width + x)]; }
};

// The client area as the screen shows it (read back from the window's DC).
Pixels CaptureWindow(HWND window);
// The retained image of a surface.
Pixels CaptureSurface(toolkit::Surface& surface);
Pixels CaptureDc(HDC dc, int width, int height);
bool WritePpm(const std::string& path, const Pixels& pixels);

// A BMP file: the 40-byte header, the colour table, the pixel bytes as given.
std::vector<unsigned char> MakeBmp(int bitCount, int width, int height, unsigned compression,
                                   const std::vector<std::uint32_t>& palette,
                                   const std::vector<unsigned char>& bits);
// A 32 x 32 icon (or cursor, with its hot spot) file of one 32-bit image.
std::vector<unsigned char> MakeIconFile(bool cursor, int hotX, int hotY, std::uint32_t rgb);
std::vector<unsigned char> ReadFile(const std::string& path);

// Mouse and keyboard input through SendInput; the pointer at a screen point.
void MoveMouse(POINT screen);
void MouseButton(DWORD flags);
void PressKey(WORD key, bool shift);

// Runs `steps` one after another, `everyMs` apart, on a timer of `form`;
// unloads the form after the last.
void RunSteps(toolkit::Form& form, int everyMs, std::vector<std::function<void()>> steps);

std::string Hex(std::uint32_t rgb);

using Args = std::vector<std::string>;
using App = toolkit::win32::Win32Application;

// Forms and the event loop.
int Hidden(App& app, const Args& args);     // TITLE: a loaded, never shown form
int Find(App& app, const Args& args);       // TITLE: WindowExists
int Close(App& app, const Args& args);      // TITLE: WM_CLOSE to that window
int Host(App& app, const Args& args);       // destroy|exit: a window to embed into
int Embed(App& app, const Args& args);      // HANDLE: the preview's embedding
int Modal(App& app, const Args& args);
int EndSession(App& app, const Args& args); // FILE: notes the unload events there

// Drawing.
int SurfaceScenario(App& app, const Args& args);  // FOLDER for the captures
int Labels(App& app, const Args& args);           // FOLDER for the captures
int Pictures(App& app, const Args& args);         // JPEG file

// Input.
int Mouse(App& app, const Args& args);
int Tab(App& app, const Args& args);

// The conformance tables: INDEX of the case.
int MouseCase(App& app, const Args& args);
int FormCase(App& app, const Args& args);
int TimerCase(App& app, const Args& args);
int LabelCase(App& app, const Args& args);

// The system's services.
int Start(App& app, const Args& args);       // PATH
int OpenUrl(App& app, const Args& args);     // URL
int FileDialog(App& app, const Args& args);  // FOLDER NAME ok|cancel
int FixedForm(App& app, const Args& args);


}  // namespace probe
