#pragma once
// The forms-and-controls layer the saver program stands on. Program logic
// talks only to these interfaces; each platform supplies a backend (Qt on
// Linux, Win32 on Windows) and the unit tests a fake.
//
// Units: everything here is in pixels. The program's forms are laid out in
// twips; they convert with the application's twips-per-pixel factors, so a
// backend never rounds on the program's behalf. Text is UTF-8 throughout;
// a backend converts where its system wants another code page.
//
// Backends translate and decide nothing: what a form does on an event is the
// program's, in its event methods.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "saver/toolkit/raster/raster.h"

namespace toolkit {

// A native window handle: an HWND on Windows, an X window id on X11.
using WindowHandle = std::uintptr_t;

// 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;
constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

using raster::GradientRect;
using raster::GradientVertex;
using raster::PixelRect;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A screen rectangle as GetWindowRect gives it; right and bottom exclusive.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;
  friend bool operator==(const Font&, const Font&) = default;
};

// Mouse buttons as the events report them.
enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
// Shift state bits.
enum ShiftState : int { ShiftKey = 1, ControlKey = 2, AltKey = 4 };

struct MouseEvent {
  int button = 0;  // the one button that changed (down, up); the held ones (move)
  int shift = 0;
  int x = 0;  // pixels, relative to the control that reports it
  int y = 0;
};

struct MouseHandlers {
  std::function<void(const MouseEvent&)> down;
  std::function<void(const MouseEvent&)> move;
  std::function<void(const MouseEvent&)> up;
  std::function<void()> click;  // button released over the control it went down on
};

// A decoded picture (BMP, JPEG, ICO), owned by whoever holds it.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual Size PixelSize() const = 0;
};
using PictureRef = std::shared_ptr<const Picture>;

// A mouse pointer shape made from a .CUR file.
class Cursor {
 public:
  virtual ~Cursor() = default;
};
using CursorRef = std::shared_ptr<const Cursor>;

// An interval timer. Ticks come through the event loop between other
// events, never inside a handler; enabling restarts the interval.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

// The drawing area of a form, a picture box or a user control. What is drawn
// stays in an image the backend keeps; the window system's repaints are
// served from that image and never run program code. Drawing shows on screen
// at the next Refresh (or when the event handler returns).
class Surface {
 public:
  virtual ~Surface() = default;
  virtual Size PixelSize() const = 0;
  // Fills the whole image with the back colour.
  virtual void Clear() = 0;
  // MoveToEx + LineTo with a solid 1-pixel copy pen: `to` is not drawn.
  virtual void Line(Point from, Point to, Colour colour) = 0;
  // GradientFill with GRADIENT_FILL_RECT_V and one rectangle record.
  virtual void GradientFillRectV(std::span<const GradientVertex> vertices, GradientRect rect) = 0;
  // StretchBlt (SRCCOPY, the stretch mode of a new device context) of a part
  // of a picture.
  virtual void PaintPicture(const Picture& picture, const PixelRect& destination,
                            const PixelRect& source) = 0;
  // Shows what has been drawn.
  virtual void Refresh() = 0;
};

// Anything placed in a container. Geometry is in pixels of the container's
// inner area.
class Control {
 public:
  virtual ~Control() = default;
  virtual void Move(const PixelRect& bounds) = 0;
  virtual PixelRect Bounds() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

enum class Alignment { Left, Centre };

// A windowless text label, drawn by the backend over its container's
// surface with a transparent background. The text starts at the top-left
// (or is centred on each line), wraps at word boundaries (or anywhere in a
// word wider than the label) and is cut at the label's bounds. Disabled, it
// is drawn greyed: once in white one pixel right and down, then in
// (128, 128, 128) in its place.
class Label : public Control {
 public:
  virtual void SetCaption(std::string_view text) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual Font GetFont() const = 0;
  virtual void SetForeColour(Colour colour) = 0;
  virtual Colour ForeColour() const = 0;
  virtual void SetAlignment(Alignment alignment) = 0;
  // Auto-size makes the label as wide and high as its text on one line,
  // keeping its top-left.
  virtual void SetAutoSize(bool autoSize) = 0;
  // A one-pixel black frame on the label's edge; the text is inset by two
  // pixels inside it.
  virtual void SetBorder(bool border) = 0;
  // Null: the container's pointer.
  virtual void SetPointer(CursorRef cursor) = 0;
  virtual MouseHandlers& Mouse() = 0;
};

// A windowless picture at its natural size from its top-left corner, cut
// to the control's bounds.
class Image : public Control {
 public:
  virtual void SetPicture(PictureRef picture) = 0;
  virtual PictureRef GetPicture() const = 0;
  virtual MouseHandlers& Mouse() = 0;
};

// A windowless rectangle outline, one pixel wide, no fill.
class Shape : public Control {
 public:
  virtual void SetBorderColour(Colour colour) = 0;
};

// An editable drop-down combo box (a native window that takes the focus).
class ComboBox : public Control {
 public:
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() const = 0;
  virtual void AddItem(std::string_view item) = 0;
  virtual int ItemCount() const = 0;
  virtual std::string Item(int index) const = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual void SetBackColour(Colour colour) = 0;
  virtual WindowHandle Handle() const = 0;
};

class PictureBox;
class UserControl;
class UserControlEvents;

// What holds controls: a form, a picture box, a user control. Controls
// belong to their container and go with it.
class Container {
 public:
  virtual ~Container() = default;
  virtual Surface& GetSurface() = 0;
  virtual void SetBackColour(Colour colour) = 0;
  virtual WindowHandle Handle() const = 0;
  virtual Label& AddLabel() = 0;
  virtual Image& AddImage() = 0;
  virtual Shape& AddShape() = 0;
  virtual ComboBox& AddComboBox() = 0;
  virtual PictureBox& AddPictureBox() = 0;
  virtual UserControl& AddUserControl(UserControlEvents& events) = 0;
};

// A child window with a retained surface that holds controls of its own.
// It has no border: its inner area is its bounds.
class PictureBox : public Control, public Container {};

class UserControlEvents {
 public:
  virtual ~UserControlEvents() = default;
  virtual void MouseDown(const MouseEvent&) {}
  virtual void MouseMove(const MouseEvent&) {}
  virtual void MouseUp(const MouseEvent&) {}
  virtual void GotFocus() {}
  virtual void LostFocus() {}
  virtual void Resize() {}
};

// A windowed control painted by the program: it takes the keyboard focus,
// holds the mouse while a button is down, and reports its events.
class UserControl : public Control, public Container {
 public:
  // Transparent: the surface is not shown and the container shows through
  // behind the control's labels.
  virtual void SetTransparent(bool transparent) = 0;
  virtual bool Transparent() const = 0;
  virtual WindowHandle ParentHandle() const = 0;
  // A timer of the control's own, gone with the control.
  virtual Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) = 0;
};

enum class BorderStyle { None, FixedSingle };

class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Load() {}
  virtual void Resize() {}
  // Raised before every unload, whatever its cause; the program's forms
  // never cancel it.
  virtual void QueryUnload() {}
  virtual void Unload() {}
};

// A top-level window. Loading makes its native window (hidden, yet findable
// by its caption from other processes) and raises Load; the event loop runs
// while any form is loaded. The program adds its controls and timers once
// the form is loaded (from the Load event on); they go when it unloads.
class Form : public Container {
 public:
  // Before Load.
  virtual void SetBorderStyle(BorderStyle style) = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetIcon(PictureRef icon) = 0;
  virtual void SetClientSize(Size pixels) = 0;
  virtual Size ClientSize() const = 0;
  // Outer rectangle: position on the screen (or in the parent window once
  // embedded) and outer size, as Move gives them.
  virtual void MoveWindow(const PixelRect& outer) = 0;
  virtual Size OuterSize() const = 0;

  virtual void Load() = 0;
  virtual bool Loaded() const = 0;
  // Modal: returns once the form has been unloaded.
  virtual void Show(bool modal) = 0;
  virtual void Hide() = 0;
  // QueryUnload, Unload, then the window goes. Also when the window is
  // closed by the user, by the session's end, by a termination signal, or
  // destroyed with its parent.
  virtual void Unload() = 0;

  // Preview embedding: the child style, then the foreign parent. False when
  // the step could not be done.
  virtual bool SetChildStyle() = 0;
  virtual bool SetParentWindow(WindowHandle parent) = 0;

  virtual Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) = 0;
  // The keyboard focus moves through these in this order.
  virtual void SetTabOrder(const std::vector<Control*>& controls) = 0;
};

struct OpenFileRequest {
  WindowHandle owner = 0;
  std::string filterDescription;
  std::string filterPattern;  // "*.MP3;*.WAV"
  std::string initialFolder;
  std::string title;
};

struct OpenFileResult {
  std::int32_t result = 0;  // > 0 when a file was chosen
  std::string path;
};

// A started program. Running() also reaps it once it has ended.
class Process {
 public:
  virtual ~Process() = default;
  virtual bool Running() = 0;
  // Waits at most this long for the end; true once it has ended.
  virtual bool WaitForEnd(int milliseconds) = 0;
  // `ended` runs once, from the event loop between other events, soon after
  // the program has ended.
  virtual void NotifyEnd(std::function<void()> ended) = 0;
};

class Application {
 public:
  virtual ~Application() = default;

  // The argument text without the program's own path; empty without arguments.
  virtual std::string CommandLine() const = 0;

  // The program's folder as the system reports it: no trailing separator
  // except at a root.
  virtual std::string ProgramFolder() const = 0;

  // Whether a top-level window of exactly this title exists, of any class
  // and in any process.
  virtual bool WindowExists(std::string_view title) = 0;

  // Holds the claim of this name for the user's display (on Windows, the
  // session) until the program ends. Only one program at a time gets it;
  // false when another holds it. Unlike a window title it cannot be passed
  // by two programs starting at the same moment.
  virtual bool Claim(std::string_view name) = 0;

  // Counted like the system's cursor display count: hidden while below zero.
  virtual void ShowCursor(bool show) = 0;

  // A modal message box with an OK button only and no icon; returns when the
  // user has closed it.
  virtual void ShowMessageBox(std::string_view text, std::string_view caption) = 0;

  // Ends the process at once, without any form's unload handlers. A real
  // backend never returns; callers return right after it all the same.
  virtual void EndProgram() = 0;

  // Runs events until the last loaded form is unloaded; returns at once when
  // no form is loaded. The result is the process exit code.
  virtual int RunEventLoop() = 0;

  // --- forms and the screen

  virtual std::unique_ptr<Form> CreateForm(FormEvents& events) = 0;
  virtual int TwipsPerPixelX() const = 0;
  virtual int TwipsPerPixelY() const = 0;
  virtual Size ScreenSize() const = 0;  // pixels
  virtual std::optional<ScreenRect> WindowRect(WindowHandle window) = 0;
  // The pointer in screen pixels; nothing when it cannot be read.
  virtual std::optional<Point> CursorPosition() = 0;
  // The deepest window under a screen point, as WindowFromPoint gives it.
  virtual WindowHandle WindowAtPoint(Point screen) = 0;
  // The system's caption zoom between two screen rectangles, drawn for the
  // window; returns when done. Nothing where it cannot be drawn.
  virtual void ZoomRects(WindowHandle window, const ScreenRect& from, const ScreenRect& to) = 0;

  // --- pictures, pointers, programs

  // Null when the data cannot be decoded.
  virtual PictureRef LoadPicture(std::span<const unsigned char> data) = 0;
  virtual CursorRef LoadCursor(std::span<const unsigned char> data) = 0;
  // The application-wide pointer: the hourglass while busy, else the arrow.
  virtual void SetBusyPointer(bool busy) = 0;

  // Starts a program by absolute path with no arguments, its window shown
  // normally with the focus, and does not wait. Null when it could not start.
  virtual std::unique_ptr<Process> StartProgram(const std::string& path) = 0;
  // Notes the display's configuration, before starting a program that
  // switches it.
  virtual void NoteDisplayMode() = 0;
  // Puts back the configuration noted, when the screen is now `switched` in
  // size and was not then: a program that switched it ended without its own
  // restore. Any other change since is the user's and stays.
  virtual void RestoreDisplayMode(Size switched) = 0;
  // Opens a web address in the user's browser; the system's result.
  virtual std::int32_t OpenUrl(WindowHandle owner, std::string_view url) = 0;
  virtual OpenFileResult ChooseOpenFile(const OpenFileRequest& request) = 0;
};

// Twips to pixels and back with the application's factors.
inline int TwipsToPixelsX(const Application& app, double twips) {
  return static_cast<int>(twips / app.TwipsPerPixelX());
}
inline int TwipsToPixelsY(const Application& app, double twips) {
  return static_cast<int>(twips / app.TwipsPerPixelY());
}

}  // namespace toolkit
