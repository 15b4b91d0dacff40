#include "saver/button/command.h"

#include "saver/button/state_images.h"

namespace button {
namespace {

constexpr int kCaptionHeight = 195;  // twips
constexpr int kCorner = 60;          // twips

// White and lavender, kept as the texts the face's colours are read from.
constexpr std::string_view kWhiteText = "&HFFFFFF";
constexpr std::string_view kLavenderText = "&HC6C5D7";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void SetVertexColour(toolkit::GradientVertex& vertex, std::string_view hexText) {
  if (auto rgb = VertexColour(hexText)) {
    vertex.red = (*rgb)[0];
    vertex.green = (*rgb)[1];
    vertex.blue = (*rgb)[2];
  }
}

}  // namespace

std::optional<std::array<std::uint16_t, 3>> VertexColour(std::string_view hexText) {
  if (hexText.size() != 8 || hexText.substr(0, 2) != "&H") return std::nullopt;
  std::array<std::uint16_t, 3> components{};
  for (std::size_t group = 0; group < 3; ++group) {
    const int high = HexDigit(hexText[2 + group * 2]);
    const int low = HexDigit(hexText[3 + group * 2]);
    if (high < 0 || low < 0) return std::nullopt;
    components[group] = static_cast<std::uint16_t>((high * 16 + low) << 8);
  }
  return components;
}

Command::Command(toolkit::Application& app, toolkit::Container& container)
    : app_(app),
      control_(container.AddUserControl(*this)),
      LblMsg(control_.AddLabel()),
      TmrMouse(control_.AddTimer(100, false, [this] { TimerTick(); })) {
  LblMsg.SetCaption("Command");
  LblMsg.SetAlignment(toolkit::Alignment::Centre);
  LblMsg.SetForeColour(0);
  LblMsg.Move({0, 0, 0, toolkit::TwipsToPixelsY(app_, kCaptionHeight)});
  // The caption area behaves like the rest of the face.
  LblMsg.Mouse().down = [this](const toolkit::MouseEvent& e) { MouseDown(e); };
  LblMsg.Mouse().move = [this](const toolkit::MouseEvent& e) { MouseMove(e); };
  LblMsg.Mouse().up = [this](const toolkit::MouseEvent& e) { MouseUp(e); };
  for (std::size_t i = 0; i < looks_.size(); ++i) {
    looks_[i] = app_.LoadPicture(StateImage(static_cast<Look>(i)));
  }
}

// --- events

void Command::MouseMove(const toolkit::MouseEvent&) {
  if (enabledFlag == False) return;
  if (State == StateNormal) {
    State = StateHighLight;
    PaintFace(Look::HighLight);
  }
  if (State == StateSelected && ButtonDown == False) {
    State = StateHighLightSelect;
    PaintFace(Look::HighLightSelect);
  }
}

void Command::MouseDown(const toolkit::MouseEvent& event) {
  if (enabledFlag == False) return;
  if (event.button != toolkit::LeftButton) return;
  ButtonDown = True;
  PaintFace(Look::Pressed);
}

void Command::MouseUp(const toolkit::MouseEvent& event) {
  if (enabledFlag == False) return;
  if (event.button == toolkit::LeftButton) {
    ButtonDown = False;
    if (State == StateHighLight) PaintFace(Look::Normal);
    if (State == StateHighLightSelect) PaintFace(Look::HighLightSelect);
  }
  if (State != StateSelected && Click) Click();
}

void Command::GotFocus() {
  if (enabledFlag == False) return;
  if (State != StateHighLight) {
    State = StateSelected;
    PaintFace(Look::Selected);
  } else {
    State = StateHighLightSelect;
    PaintFace(Look::Pressed);
  }
}

void Command::LostFocus() {
  if (enabledFlag == False) return;
  if (State != StateNormal) {
    State = StateNormal;
    PaintFace(Look::Normal);
  }
}

void Command::Resize() { ShowEnabledState(); }

// Hover begins with mouse moves; only this poll ends it, once the pointer
// is over anything but the control's own window.
void Command::TimerTick() {
  if (enabledFlag == False) return;
  const toolkit::Point pointer = app_.CursorPosition().value_or(toolkit::Point{});
  const toolkit::WindowHandle under = app_.WindowAtPoint(pointer);
  if (under == control_.ParentHandle()) {
    EndHover();
    return;
  }
  if (under != control_.Handle()) EndHover();
}

// --- painting

void Command::EndHover() {
  if (enabledFlag == False) return;
  if (State == StateHighLight) {
    State = StateNormal;
    PaintFace(Look::Normal);
  } else if (State == StateHighLightSelect) {
    State = StateSelected;
    PaintFace(Look::Selected);
  }
}

void Command::ShowEnabledState() {
  if (enabledFlag != False) {
    PaintFace(Look::Normal);
    LblMsg.SetEnabled(true);
  } else {
    PaintFace(Look::Disable);
    LblMsg.SetEnabled(false);
  }
}

void Command::RefreshFace() {
  if (enabledFlag == False) return;
  LblMsg.SetEnabled(true);
  if (FirstRun == 0) LblMsg.SetForeColour(0);
  if (!PaintFace(Look::Normal)) LblMsg.SetForeColour(0);
}

toolkit::PixelRect Command::PixelsOf(int x, int y, int w, int h) const {
  return {toolkit::TwipsToPixelsX(app_, x), toolkit::TwipsToPixelsY(app_, y), toolkit::TwipsToPixelsX(app_, w),
          toolkit::TwipsToPixelsY(app_, h)};
}

bool Command::PaintFace(Look look) {
  ++paintCount;
  if (State == StateNormal || State == StateSelected) GradientReversed = False;
  if (State == StateHighLight) GradientReversed = True;

  const toolkit::PixelRect bounds = control_.Bounds();
  const int W = TwipsX(bounds.width);
  const int H = TwipsY(bounds.height);
  toolkit::Surface& surface = control_.GetSurface();
  surface.Clear();
  FillGradient();

  // The frame: corners copied, edges stretched, from the picture's outer
  // 4 pixels (960 x 375 twips); its centre is never drawn.
  const int c = kCorner;
  struct Piece {
    int dx, dy, dw, dh, sx, sy, sw, sh;
  };
  const Piece pieces[8] = {
      {1, 1, c, c, 0, 0, c, c},
      {c, 1, W - 2 * c, c, c, 1, 840, c},
      {W - c, 1, c, c, 900, 1, c, c},
      {W - c, c, c, H - 2 * c, 900, c, c, 255},
      {W - c, H - c, c, c, 900, 315, c, c},
      {c, H - c, W - 2 * c, c, c, 315, 840, c},
      {1, H - c, c, c, 0, 315, c, c},
      {1, c, c, H - 2 * c, 1, c, c, 255},
  };
  const toolkit::PictureRef& picture = looks_[static_cast<std::size_t>(look)];
  bool painted = picture != nullptr;
  if (picture) {
    for (const Piece& p : pieces) {
      surface.PaintPicture(*picture, PixelsOf(p.dx, p.dy, p.dw, p.dh), PixelsOf(p.sx, p.sy, p.sw, p.sh));
    }
  }
  surface.Refresh();

  const int captionHeight = LblMsg.Bounds().height;
  const double top = (H - TwipsY(captionHeight) - 20) / 2.0;
  LblMsg.Move({0, toolkit::TwipsToPixelsY(app_, top), bounds.width, captionHeight});
  return painted;
}

void Command::FillGradient() {
  toolkit::GradientVertex& v0 = vertices[0];
  toolkit::GradientVertex& v1 = vertices[1];
  SetVertexColour(v0, GradientReversed == False ? kWhiteText : kLavenderText);
  SetVertexColour(v1, GradientReversed == False ? kLavenderText : kWhiteText);

  // The fill works in pixels.
  const toolkit::PixelRect bounds = control_.Bounds();
  v0.x = 0;
  v0.y = 0;
  v1.x = bounds.width - 1;
  v1.y = bounds.height - 1;
  toolkit::Surface& surface = control_.GetSurface();
  surface.GradientFillRectV(vertices, gradientRect);
  surface.Refresh();
}

void Command::Initialize() {
  State = StateNormal;
  TmrMouse.SetInterval(100);
  TmrMouse.SetEnabled(true);
}

}  // namespace button
