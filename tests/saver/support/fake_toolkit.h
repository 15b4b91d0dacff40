#pragma once
// A toolkit that records what the program's forms ask of it, in one log
// shared by the application, its forms and their controls, so that tests
// can check the order of steps across them. Timers tick only when a test
// fires them.
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "saver/toolkit/common/form_life_cycle.h"
#include "saver/toolkit/common/interval_timer.h"
#include "saver/toolkit/common/label_properties.h"
#include "saver/toolkit/common/windowless_router.h"
#include "saver/toolkit/toolkit.h"

namespace testsupport {

class FakeTimer;

class FakeLog {
 public:
  std::vector<std::string> entries;
  bool ended = false;
  // Whether labels measure their text (fixed-pitch, in proportion to the
  // font's size). Off: an auto-sized label keeps the bounds it is given.
  bool measuresText = false;
  // Virtual time, for the timers; RunEventsFor moves it on.
  long long now = 0;
  std::vector<FakeTimer*> timers;
  // After EndProgram a real program is gone: anything further is a fault.
  void Record(const std::string& entry) { entries.push_back(ended ? "AFTER END: " + entry : entry); }
  void Clear() { entries.clear(); }
  bool Contains(const std::string& entry) const {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
  }
};

std::string Describe(const toolkit::PixelRect& r);

class FakePicture : public toolkit::Picture {
 public:
  FakePicture(std::string name, toolkit::Size size) : name(std::move(name)), size(size) {}
  toolkit::Size PixelSize() const override { return size; }
  std::string name;
  toolkit::Size size;
  // The decoded pixels of a 24-bit BMP; empty for anything else.
  toolkit::raster::Image pixels;
};

class FakeCursor : public toolkit::Cursor {};

// Ticks come when a test fires them, or as virtual time passes
// (FakeApplication::RunEventsFor); ticks held up by a long handler come as
// one. The rules of ticking are the backends' shared ones.
class FakeTimer : public toolkit::IntervalTimer {
 public:
  FakeTimer(FakeLog& log, std::string name, int interval, bool enabled, std::function<void()> tick);
  ~FakeTimer() override;
  void SetEnabled(bool enabled) override {
    log_.Record(name_ + (enabled ? " on" : " off"));
    IntervalTimer::SetEnabled(enabled);
  }
  // When the next tick is due; none while stopped or ticking.
  std::optional<long long> Due() const;
  void Elapsed();

 private:
  void Arm(int intervalMs) override { due_ = log_.now + intervalMs; }
  FakeLog& log_;
  std::string name_;
  long long due_ = 0;
};

// Besides its log, the surface paints with toolkit::raster into `image`,
// which is the size of `size` at every drawing call: the pixels GDI gives
// for the same calls.
class FakeSurface : public toolkit::Surface {
 public:
  FakeSurface(FakeLog& log, std::string owner, const toolkit::Colour* back = nullptr)
      : log_(log), owner_(std::move(owner)), back_(back) {}
  toolkit::Size size;
  toolkit::raster::Image image;
  // The operations since the last ClearOps, as text.
  std::vector<std::string> ops;
  std::vector<toolkit::GradientVertex> lastVertices;
  toolkit::GradientRect lastRect;

  toolkit::Size PixelSize() const override { return size; }
  void Clear() override;
  void Line(toolkit::Point from, toolkit::Point to, toolkit::Colour colour) override;
  void GradientFillRectV(std::span<const toolkit::GradientVertex> vertices,
                         toolkit::GradientRect rect) override;
  void PaintPicture(const toolkit::Picture& picture, const toolkit::PixelRect& destination,
                    const toolkit::PixelRect& source) override;
  void Refresh() override { Op("refresh"); }

 private:
  void Op(const std::string& op) {
    ops.push_back(op);
    log_.Record(owner_ + " " + op);
  }
  // 0xRRGGBB of the owner's back colour.
  std::uint32_t BackRgb() const;
  // `image` follows `size`, keeping what still fits.
  void FitImage();
  FakeLog& log_;
  std::string owner_;
  const toolkit::Colour* back_;
};

class FakeContainer;

// Geometry and state shared by every fake control.
template <typename Base>
class FakeControlOf : public Base {
 public:
  FakeControlOf(FakeLog& log, std::string name) : log(log), name(std::move(name)) {}
  void Move(const toolkit::PixelRect& bounds) override {
    const bool resized = bounds.width != this->bounds.width || bounds.height != this->bounds.height;
    this->bounds = bounds;
    log.Record(name + " move " + Describe(bounds));
    if (resized) Resized();
  }
  toolkit::PixelRect Bounds() const override { return bounds; }
  void SetVisible(bool v) override { visible = v; }
  void SetEnabled(bool e) override {
    enabled = e;
    log.Record(name + (e ? " enabled" : " disabled"));
  }
  bool Enabled() const override { return enabled; }
  virtual void Resized() {}

  FakeLog& log;
  std::string name;
  toolkit::PixelRect bounds;
  bool visible = true;
  bool enabled = true;
};

// The mouse part of a fake windowless control, for its container's router.
template <typename Base>
class FakeWindowlessOf : public FakeControlOf<Base>, public toolkit::WindowlessTarget {
 public:
  using FakeControlOf<Base>::FakeControlOf;
  toolkit::PixelRect TargetBounds() const override { return this->bounds; }
  bool TargetShown() const override { return this->visible; }
  toolkit::MouseHandlers* TargetHandlers() override { return this->enabled ? &mouse : nullptr; }
  toolkit::MouseHandlers mouse;
};

class FakeLabel : public toolkit::LabelOf<FakeWindowlessOf<toolkit::Label>> {
 public:
  FakeLabel(FakeLog& log, std::string name);
  void Move(const toolkit::PixelRect& b) override { FakeWindowlessOf::Move(props_.Placed(b, bounds)); }
  // Tests raise the label's mouse events through `mouse`.
  toolkit::MouseHandlers& Mouse() override { return mouse; }
  const toolkit::CursorRef& Pointer() const { return props_.Pointer(); }
};

class FakeImage : public FakeWindowlessOf<toolkit::Image> {
 public:
  using FakeWindowlessOf::FakeWindowlessOf;
  void SetPicture(toolkit::PictureRef p) override { picture = std::move(p); }
  toolkit::PictureRef GetPicture() const override { return picture; }
  toolkit::MouseHandlers& Mouse() override { return mouse; }
  std::string PictureName() const {
    auto fake = std::dynamic_pointer_cast<const FakePicture>(picture);
    return fake ? fake->name : "";
  }
  toolkit::PictureRef picture;
};

class FakeShape : public FakeControlOf<toolkit::Shape> {
 public:
  using FakeControlOf::FakeControlOf;
  void SetBorderColour(toolkit::Colour c) override { borderColour = c; }
  toolkit::Colour borderColour = 0;
};

class FakeComboBox : public FakeControlOf<toolkit::ComboBox> {
 public:
  using FakeControlOf::FakeControlOf;
  void SetText(std::string_view t) override { text = t; }
  std::string Text() const override { return text; }
  void AddItem(std::string_view item) override { items.emplace_back(item); }
  int ItemCount() const override { return static_cast<int>(items.size()); }
  std::string Item(int index) const override { return items.at(static_cast<std::size_t>(index)); }
  void SetFont(const toolkit::Font& f) override { font = f; }
  void SetBackColour(toolkit::Colour c) override { backColour = c; }
  toolkit::WindowHandle Handle() const override { return handle; }
  std::string text;
  std::vector<std::string> items;
  toolkit::Font font;
  toolkit::Colour backColour = 0;
  toolkit::WindowHandle handle = 0;
};

class FakePictureBox;
class FakeUserControl;

// The controls a fake container holds, by kind, in the order they were added.
class FakeContainer {
 public:
  FakeContainer(FakeLog& log, std::string name, toolkit::WindowHandle handle)
      : log_(log), name_(std::move(name)), handle_(handle), surface(log, name_, &backColour) {}
  virtual ~FakeContainer();

  toolkit::Label& NewLabel();
  toolkit::Image& NewImage();
  toolkit::Shape& NewShape();
  toolkit::ComboBox& NewComboBox();
  toolkit::PictureBox& NewPictureBox();
  toolkit::UserControl& NewUserControl(toolkit::UserControlEvents& events);

  std::vector<std::unique_ptr<FakeLabel>> labels;
  std::vector<std::unique_ptr<FakeImage>> images;
  std::vector<std::unique_ptr<FakeShape>> shapes;
  std::vector<std::unique_ptr<FakeComboBox>> combos;
  std::vector<std::unique_ptr<FakePictureBox>> pictureBoxes;
  std::vector<std::unique_ptr<FakeUserControl>> userControls;
  // The container's window hears the mouse here, in its own coordinates.
  toolkit::WindowlessRouter router;

 protected:
  FakeLog& log_;
  std::string name_;
  toolkit::WindowHandle handle_;

 public:
  FakeSurface surface;
  toolkit::Colour backColour = 0;
};

// A toolkit container (form, picture box, user control) answered by a
// FakeContainer; the base takes the arguments after the first three.
template <typename Base>
class FakeContainerOf : public Base, public FakeContainer {
 public:
  template <typename... BaseArgs>
  FakeContainerOf(FakeLog& log, const std::string& name, toolkit::WindowHandle handle, BaseArgs&&... baseArgs)
      : Base(std::forward<BaseArgs>(baseArgs)...), FakeContainer(log, name, handle) {}
  toolkit::Surface& GetSurface() override { return surface; }
  void SetBackColour(toolkit::Colour c) override { backColour = c; }
  toolkit::WindowHandle Handle() const override { return handle_; }
  toolkit::Label& AddLabel() override { return NewLabel(); }
  toolkit::Image& AddImage() override { return NewImage(); }
  toolkit::Shape& AddShape() override { return NewShape(); }
  toolkit::ComboBox& AddComboBox() override { return NewComboBox(); }
  toolkit::PictureBox& AddPictureBox() override { return NewPictureBox(); }
  toolkit::UserControl& AddUserControl(toolkit::UserControlEvents& e) override { return NewUserControl(e); }
};

class FakePictureBox : public FakeContainerOf<FakeControlOf<toolkit::PictureBox>> {
 public:
  FakePictureBox(FakeLog& log, const std::string& name, toolkit::WindowHandle handle)
      : FakeContainerOf(log, name, handle, log, name) {}
  void Resized() override { surface.size = {bounds.width, bounds.height}; }
};

class FakeUserControl : public FakeContainerOf<FakeControlOf<toolkit::UserControl>> {
 public:
  FakeUserControl(FakeLog& log, const std::string& name, toolkit::WindowHandle handle,
                  toolkit::WindowHandle parent, toolkit::UserControlEvents& events)
      : FakeContainerOf(log, name, handle, log, name), parent(parent), events(events) {
    router.SetHooks({.own =
                         [this](toolkit::MouseAction action, const toolkit::MouseEvent& e) {
                           if (action == toolkit::MouseAction::Down) this->events.MouseDown(e);
                           else if (action == toolkit::MouseAction::Move) this->events.MouseMove(e);
                           else this->events.MouseUp(e);
                         },
                     .hover = {},
                     .capture = {}});
  }
  void SetTransparent(bool t) override { transparent = t; }
  bool Transparent() const override { return transparent; }
  toolkit::WindowHandle ParentHandle() const override { return parent; }
  toolkit::Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) override {
    timers.push_back(std::make_unique<FakeTimer>(log, name + ".timer", intervalMs, enabled, std::move(tick)));
    return *timers.back();
  }
  void Resized() override {
    surface.size = {bounds.width, bounds.height};
    events.Resize();
  }

  bool transparent = false;
  toolkit::WindowHandle parent;
  toolkit::UserControlEvents& events;
  std::vector<std::unique_ptr<FakeTimer>> timers;
};

class FakeApplication;

class FakeForm : public FakeContainerOf<toolkit::Form> {
 public:
  FakeForm(FakeApplication& app, toolkit::FormEvents& events, toolkit::WindowHandle handle);
  ~FakeForm() override;

  void SetBorderStyle(toolkit::BorderStyle s) override { borderStyle = s; }
  void SetCaption(std::string_view c) override { caption = c; }
  std::string Caption() const override { return caption; }
  void SetIcon(toolkit::PictureRef i) override { icon = std::move(i); }
  void SetClientSize(toolkit::Size s) override;
  toolkit::Size ClientSize() const override { return clientSize; }
  void MoveWindow(const toolkit::PixelRect& outer) override;
  toolkit::Size OuterSize() const override;
  void Load() override;
  bool Loaded() const override { return lifeCycle_.Loaded(); }
  void Show(bool modal) override;
  void Hide() override;
  void Unload() override;
  bool SetChildStyle() override;
  bool SetParentWindow(toolkit::WindowHandle parent) override;
  toolkit::Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) override;
  void SetTabOrder(const std::vector<toolkit::Control*>& controls) override { tabOrder = controls; }

  toolkit::WindowHandle Handle() const override { return Loaded() ? handle_ : 0; }

  // The window system's close box.
  void CloseBox() { Unload(); }
  // Another program destroyed the form's window.
  void WindowDestroyed() {
    if (Loaded() && !lifeCycle_.Unloading()) Unload();
  }

  FakeApplication& app;
  toolkit::FormEvents& events;
  std::string caption;
  toolkit::BorderStyle borderStyle = toolkit::BorderStyle::FixedSingle;
  toolkit::PictureRef icon;
  toolkit::Size clientSize;
  toolkit::PixelRect outer;
  // Frame added around the client area by a fixed single border.
  toolkit::Size frame{6, 25};
  bool shown = false;
  bool childStyle = false;
  toolkit::WindowHandle parent = 0;
  std::vector<std::unique_ptr<FakeTimer>> timers;
  std::vector<toolkit::Control*> tabOrder;
  // Run during a modal Show, as the user would act on the dialog.
  std::function<void(FakeForm&)> whileModal;

 private:
  toolkit::FormLifeCycle lifeCycle_;
};

// What the program asked to be told of a started one's end.
struct FakeProcessEnd {
  std::function<void()> notify;
};

class FakeProcess : public toolkit::Process {
 public:
  FakeProcess(std::shared_ptr<bool> running, std::shared_ptr<FakeProcessEnd> end)
      : running_(std::move(running)), end_(std::move(end)) {}
  bool Running() override { return *running_; }
  bool WaitForEnd(int) override { return !*running_; }
  void NotifyEnd(std::function<void()> ended) override { end_->notify = std::move(ended); }

 private:
  std::shared_ptr<bool> running_;
  std::shared_ptr<FakeProcessEnd> end_;
};

class FakeApplication : public toolkit::Application {
 public:
  FakeApplication();
  ~FakeApplication() override;

  std::string commandLine;
  std::string programFolder;
  std::set<std::string> windows;  // titles of top-level windows of other programs
  FakeLog logger;
  std::vector<std::string>& log = logger.entries;
  bool& ended = logger.ended;

  // Programs that StartProgram can start; a started one runs until its flag is cleared.
  std::set<std::string> startablePrograms;
  std::map<std::string, std::shared_ptr<bool>> started;
  std::map<std::string, std::shared_ptr<FakeProcessEnd>> endings;
  // Claims held by this or other copies.
  std::set<std::string> claims;

  std::map<toolkit::WindowHandle, toolkit::ScreenRect> windowRects;
  std::optional<toolkit::Point> cursor = toolkit::Point{0, 0};
  std::map<std::pair<int, int>, toolkit::WindowHandle> windowsAtPoints;
  toolkit::Size screen{1024, 768};
  int twipsPerPixel = 15;
  std::deque<toolkit::OpenFileResult> openFileResults;
  std::vector<toolkit::OpenFileRequest> openFileRequests;
  std::vector<FakeForm*> forms;  // loaded or not, while they exist
  // Run during every modal Show, as the user would act on the form.
  std::function<void(FakeForm&)> whileModal;
  int cursorCount = 0;

  std::string CommandLine() const override { return commandLine; }
  std::string ProgramFolder() const override { return programFolder; }
  bool WindowExists(std::string_view title) override;
  bool Claim(std::string_view name) override {
    Record("claim " + std::string(name));
    return claims.insert(std::string(name)).second;
  }
  void ShowCursor(bool show) override;
  void ShowMessageBox(std::string_view text, std::string_view caption) override {
    Record("message " + std::string(text) + " | " + std::string(caption));
  }
  void EndProgram() override {
    Record("end");
    ended = true;
  }
  int RunEventLoop() override {
    Record("loop");
    return 0;
  }
  // Runs the timers due in this much virtual time.
  void RunEventsFor(int ms);

  std::unique_ptr<toolkit::Form> CreateForm(toolkit::FormEvents& events) override;
  int TwipsPerPixelX() const override { return twipsPerPixel; }
  int TwipsPerPixelY() const override { return twipsPerPixel; }
  toolkit::Size ScreenSize() const override { return screen; }
  std::optional<toolkit::ScreenRect> WindowRect(toolkit::WindowHandle window) override;
  std::optional<toolkit::Point> CursorPosition() override { return cursor; }
  toolkit::WindowHandle WindowAtPoint(toolkit::Point p) override;
  void ZoomRects(toolkit::WindowHandle window, const toolkit::ScreenRect& from,
                 const toolkit::ScreenRect& to) override;
  toolkit::PictureRef LoadPicture(std::span<const unsigned char> data) override;
  toolkit::CursorRef LoadCursor(std::span<const unsigned char> data) override;
  void SetBusyPointer(bool busy) override { Record(busy ? "pointer busy" : "pointer arrow"); }
  std::unique_ptr<toolkit::Process> StartProgram(const std::string& path) override;
  void NoteDisplayMode() override { Record("note display"); }
  void RestoreDisplayMode(toolkit::Size switched) override {
    Record("restore display from " + std::to_string(switched.width) + "x" + std::to_string(switched.height));
  }
  std::int32_t OpenUrl(toolkit::WindowHandle owner, std::string_view url) override;
  toolkit::OpenFileResult ChooseOpenFile(const toolkit::OpenFileRequest& request) override;

  void Record(const std::string& entry) { logger.Record(entry); }
  toolkit::WindowHandle NextHandle() { return nextHandle_++; }
  int picturesLoaded = 0;
  bool failPictures = false;
  FakeForm* FormTitled(std::string_view caption) const;

 private:
  toolkit::WindowHandle nextHandle_ = 0x100;
};

}  // namespace testsupport
