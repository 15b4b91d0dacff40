#include "tests/saver/support/fake_toolkit.h"

#include <cstdio>

#include "tests/saver/support/bmp24.h"

namespace testsupport {

std::string Describe(const toolkit::PixelRect& r) {
  char text[80];
  std::snprintf(text, sizeof text, "%d,%d %dx%d", r.x, r.y, r.width, r.height);
  return text;
}

namespace {

std::string Hex(toolkit::Colour c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", c);
  return text;
}

}  // namespace

namespace {

std::uint32_t RgbOf(toolkit::Colour c) {
  return toolkit::raster::Rgb(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF),
                              static_cast<int>(c >> 16 & 0xFF));
}

}  // namespace

std::uint32_t FakeSurface::BackRgb() const { return back_ ? RgbOf(*back_) : 0; }

void FakeSurface::FitImage() {
  if (image.width == size.width && image.height == size.height) return;
  toolkit::raster::Image fitted(size.width, size.height, BackRgb());
  for (int y = 0; y < fitted.height && y < image.height; ++y)
    for (int x = 0; x < fitted.width && x < image.width; ++x) fitted.At(x, y) = image.At(x, y);
  image = std::move(fitted);
}

void FakeSurface::Clear() {
  FitImage();
  std::fill(image.pixels.begin(), image.pixels.end(), BackRgb());
  Op("clear");
}

void FakeSurface::Line(toolkit::Point from, toolkit::Point to, toolkit::Colour colour) {
  FitImage();
  toolkit::raster::Line(image, from.x, from.y, to.x, to.y, RgbOf(colour));
  Op("line " + std::to_string(from.x) + "," + std::to_string(from.y) + "-" + std::to_string(to.x) +
     "," + std::to_string(to.y) + " " + Hex(colour));
}

void FakeSurface::GradientFillRectV(std::span<const toolkit::GradientVertex> vertices,
                                    toolkit::GradientRect rect) {
  lastVertices.assign(vertices.begin(), vertices.end());
  lastRect = rect;
  FitImage();
  toolkit::raster::GradientFillRectV(image, vertices.data(), static_cast<int>(vertices.size()), rect);
  std::string text = "gradient";
  for (const auto& v : vertices) {
    char part[64];
    std::snprintf(part, sizeof part, " (%d,%d %04X%04X%04X)", v.x, v.y, v.red, v.green, v.blue);
    text += part;
  }
  Op(text + " " + std::to_string(rect.upperLeft) + "->" + std::to_string(rect.lowerRight));
}

void FakeSurface::PaintPicture(const toolkit::Picture& picture, const toolkit::PixelRect& destination,
                               const toolkit::PixelRect& source) {
  const auto* fake = dynamic_cast<const FakePicture*>(&picture);
  FitImage();
  if (fake && fake->pixels.width > 0) {
    toolkit::raster::StretchCopy(image, destination, fake->pixels, source);
  }
  Op("paint " + (fake ? fake->name : std::string("?")) + " " + Describe(destination) + " <- " +
     Describe(source));
}

FakeTimer::FakeTimer(FakeLog& log, std::string name, int interval, bool enabled, std::function<void()> tick)
    : IntervalTimer(interval, enabled, std::move(tick)), log_(log), name_(std::move(name)) {
  // A fake form has no window to wait for.
  SetLive(true);
  log_.timers.push_back(this);
}

FakeTimer::~FakeTimer() { std::erase(log_.timers, this); }

std::optional<long long> FakeTimer::Due() const {
  if (!Running()) return std::nullopt;
  return due_;
}

void FakeTimer::Elapsed() {
  // The next interval counts from now, however late this tick is.
  due_ = log_.now + Interval();
  Fire();
}

void FakeApplication::RunEventsFor(int ms) {
  const long long end = logger.now + ms;
  for (;;) {
    FakeTimer* next = nullptr;
    for (FakeTimer* timer : logger.timers) {
      if (auto due = timer->Due(); due && *due <= end && (!next || *due < *next->Due())) next = timer;
    }
    if (!next) break;
    logger.now = std::max(logger.now, *next->Due());
    next->Elapsed();
  }
  logger.now = std::max(logger.now, end);
}

namespace {

// Fixed-pitch text in proportion to the font's size.
int GlyphWidth(const toolkit::Font& font) { return static_cast<int>(font.size * 0.75 + 0.5); }
int LineHeight(const toolkit::Font& font) { return static_cast<int>(font.size * 1.5 + 0.5); }

}  // namespace

FakeLabel::FakeLabel(FakeLog& log, std::string name)
    : LabelOf({.lineWidth =
                   [this](std::string_view line) {
                     int characters = 0;
                     for (unsigned char c : line) characters += (c & 0xC0) != 0x80;
                     return characters * GlyphWidth(props_.GetFont());
                   },
               .lineHeight = [this] { return LineHeight(props_.GetFont()); },
               .fontChanged = {},
               .resize = [this](toolkit::Size size) { bounds.width = size.width, bounds.height = size.height; },
               .changed = {}},
              log, std::move(name)) {
  if (!log.measuresText) props_ = toolkit::LabelProperties({});
}

FakeContainer::~FakeContainer() = default;

toolkit::Label& FakeContainer::NewLabel() {
  labels.push_back(std::make_unique<FakeLabel>(log_, name_ + ".label" + std::to_string(labels.size())));
  router.Add(*labels.back());
  return *labels.back();
}

toolkit::Image& FakeContainer::NewImage() {
  images.push_back(std::make_unique<FakeImage>(log_, name_ + ".image" + std::to_string(images.size())));
  router.Add(*images.back());
  return *images.back();
}

toolkit::Shape& FakeContainer::NewShape() {
  shapes.push_back(std::make_unique<FakeShape>(log_, name_ + ".shape" + std::to_string(shapes.size())));
  return *shapes.back();
}

toolkit::ComboBox& FakeContainer::NewComboBox() {
  combos.push_back(std::make_unique<FakeComboBox>(log_, name_ + ".combo" + std::to_string(combos.size())));
  combos.back()->handle = handle_ * 100 + 50 + combos.size();
  return *combos.back();
}

toolkit::PictureBox& FakeContainer::NewPictureBox() {
  const auto handle = handle_ * 100 + 1 + pictureBoxes.size();
  pictureBoxes.push_back(
      std::make_unique<FakePictureBox>(log_, name_ + ".box" + std::to_string(pictureBoxes.size()), handle));
  return *pictureBoxes.back();
}

toolkit::UserControl& FakeContainer::NewUserControl(toolkit::UserControlEvents& events) {
  const auto handle = handle_ * 100 + 20 + userControls.size();
  userControls.push_back(std::make_unique<FakeUserControl>(
      log_, name_ + ".control" + std::to_string(userControls.size()), handle, handle_, events));
  return *userControls.back();
}

FakeForm::FakeForm(FakeApplication& app, toolkit::FormEvents& events, toolkit::WindowHandle handle)
    : FakeContainerOf(app.logger, "form", handle),
      app(app),
      events(events),
      lifeCycle_(events, {.makeWindow =
                              [this] {
                                for (auto& timer : timers) timer->SetLive(true);
                                return true;
                              },
                          .dropWindow =
                              [this] {
                                shown = false;
                                for (auto& timer : timers) timer->SetLive(false);
                              },
                          .raise =
                              [this](const char* event, const std::function<void()>& handler) {
                                if (std::string_view(event) != "resize") this->app.Record(std::string(event) + " " + caption);
                                handler();
                              },
                          .programEnded = [this] { return this->app.ended; }}) {
  app.forms.push_back(this);
}

void FakeForm::SetClientSize(toolkit::Size s) {
  clientSize = s;
  surface.size = s;
  lifeCycle_.Sized(s);
}

FakeForm::~FakeForm() { std::erase(app.forms, this); }

void FakeForm::MoveWindow(const toolkit::PixelRect& r) {
  outer = r;
  if (borderStyle == toolkit::BorderStyle::None) SetClientSize({r.width, r.height});
  app.Record("form move " + Describe(r));
}

toolkit::Size FakeForm::OuterSize() const {
  if (borderStyle == toolkit::BorderStyle::None) return clientSize;
  return {clientSize.width + frame.width, clientSize.height + frame.height};
}

void FakeForm::Load() { lifeCycle_.Load(clientSize); }

void FakeForm::Show(bool modal) {
  Load();
  if (!Loaded()) return;
  shown = true;
  app.Record(std::string(modal ? "show modal " : "show ") + caption);
  if (!lifeCycle_.BeforeShow(clientSize)) return;
  if (modal) {
    if (whileModal) whileModal(*this);
    else if (app.whileModal) app.whileModal(*this);
    if (Loaded()) Unload();  // a modal show returns only once the form is gone
  }
}

void FakeForm::Hide() { shown = false; }

void FakeForm::Unload() { lifeCycle_.Unload(); }

bool FakeForm::SetChildStyle() {
  childStyle = true;
  app.Record("child style");
  return true;
}

bool FakeForm::SetParentWindow(toolkit::WindowHandle p) {
  app.Record("parent " + std::to_string(p));
  if (!app.windowRects.count(p)) return false;
  parent = p;
  return true;
}

toolkit::Timer& FakeForm::AddTimer(int intervalMs, bool enabled, std::function<void()> tick) {
  timers.push_back(std::make_unique<FakeTimer>(app.logger, "Timer" + std::to_string(timers.size() + 1),
                                               intervalMs, enabled, std::move(tick)));
  // A form's timers run while it is loaded, as its window's would.
  timers.back()->SetLive(Loaded());
  return *timers.back();
}

FakeApplication::FakeApplication() = default;
FakeApplication::~FakeApplication() = default;

bool FakeApplication::WindowExists(std::string_view title) {
  Record("find " + std::string(title));
  if (windows.count(std::string(title))) return true;
  for (FakeForm* form : forms) {
    if (form->Loaded() && form->caption == title) return true;
  }
  return false;
}

void FakeApplication::ShowCursor(bool show) {
  cursorCount += show ? 1 : -1;
  Record(show ? "cursor show" : "cursor hide");
}

std::unique_ptr<toolkit::Form> FakeApplication::CreateForm(toolkit::FormEvents& events) {
  return std::make_unique<FakeForm>(*this, events, NextHandle());
}

std::optional<toolkit::ScreenRect> FakeApplication::WindowRect(toolkit::WindowHandle window) {
  if (auto it = windowRects.find(window); it != windowRects.end()) return it->second;
  for (FakeForm* form : forms) {
    if (form->Loaded() && form->Handle() == window) {
      const toolkit::Size size = form->OuterSize();
      return toolkit::ScreenRect{form->outer.x, form->outer.y, form->outer.x + size.width,
                                 form->outer.y + size.height};
    }
  }
  return std::nullopt;
}

toolkit::WindowHandle FakeApplication::WindowAtPoint(toolkit::Point p) {
  auto it = windowsAtPoints.find({p.x, p.y});
  return it == windowsAtPoints.end() ? 1 : it->second;  // 1: the desktop
}

void FakeApplication::ZoomRects(toolkit::WindowHandle window, const toolkit::ScreenRect& from,
                                const toolkit::ScreenRect& to) {
  char text[128];
  std::snprintf(text, sizeof text, "zoom %d,%d,%d,%d -> %d,%d,%d,%d", from.left, from.top, from.right,
                from.bottom, to.left, to.top, to.right, to.bottom);
  (void)window;
  Record(text);
}

toolkit::PictureRef FakeApplication::LoadPicture(std::span<const unsigned char> data) {
  toolkit::Size size;
  // Enough of a BMP header to know its size.
  if (data.size() >= 26 && data[0] == 'B' && data[1] == 'M') {
    auto read32 = [&](std::size_t at) {
      return static_cast<int>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | data[at + 3] << 24);
    };
    size = {read32(18), std::abs(read32(22))};
  }
  if (data.empty() || failPictures) return nullptr;
  // Named by load order, so that a test knows which picture is which.
  auto picture = std::make_shared<FakePicture>("picture" + std::to_string(++picturesLoaded), size);
  if (auto decoded = DecodeBmp24(data)) picture->pixels = std::move(*decoded);
  return picture;
}

toolkit::CursorRef FakeApplication::LoadCursor(std::span<const unsigned char> data) {
  if (data.empty()) return nullptr;
  return std::make_shared<FakeCursor>();
}

std::unique_ptr<toolkit::Process> FakeApplication::StartProgram(const std::string& path) {
  Record("start " + path);
  if (!startablePrograms.count(path)) return nullptr;
  auto running = std::make_shared<bool>(true);
  started[path] = running;
  auto end = std::make_shared<FakeProcessEnd>();
  endings[path] = end;
  return std::make_unique<FakeProcess>(running, end);
}

std::int32_t FakeApplication::OpenUrl(toolkit::WindowHandle, std::string_view url) {
  Record("open url " + std::string(url));
  return 42;
}

toolkit::OpenFileResult FakeApplication::ChooseOpenFile(const toolkit::OpenFileRequest& request) {
  openFileRequests.push_back(request);
  Record("choose file");
  if (openFileResults.empty()) return {};
  toolkit::OpenFileResult result = openFileResults.front();
  openFileResults.pop_front();
  return result;
}

FakeForm* FakeApplication::FormTitled(std::string_view caption) const {
  for (FakeForm* form : forms) {
    if (form->caption == caption) return form;
  }
  return nullptr;
}

}  // namespace testsupport
