#include "saver/toolkit/win32/label.h"

#include "saver/toolkit/win32/picture.h"
#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

// Inside the border's one-pixel frame the text keeps two pixels off the edge.
constexpr int kBorderInset = 2;
constexpr COLORREF kGreyText = RGB(128, 128, 128);
constexpr COLORREF kGreyShadow = RGB(255, 255, 255);

}  // namespace

Win32Label::Win32Label(ContainerCore& owner) : WindowlessControl(owner), gdiFont_(CreateGdiFont(font_)) {}

void Win32Label::Move(const PixelRect& bounds) {
  PixelRect placed = bounds;
  if (autoSize_) {
    placed.width = bounds_.width;
    placed.height = bounds_.height;
  }
  WindowlessControl::Move(placed);
}

void Win32Label::SetCaption(std::string_view text) {
  caption_ = std::string(text);
  wideCaption_ = Widen(caption_);
  Fit();
  Changed();
}

void Win32Label::SetFont(const Font& font) {
  font_ = font;
  gdiFont_ = CreateGdiFont(font_);
  Fit();
  Changed();
}

void Win32Label::SetForeColour(Colour colour) {
  fore_ = colour;
  Changed();
}

void Win32Label::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Changed();
}

void Win32Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  Fit();
  Changed();
}

void Win32Label::SetBorder(bool border) {
  border_ = border;
  Fit();
  Changed();
}

HCURSOR Win32Label::Pointer() const {
  const auto* cursor = dynamic_cast<const Win32Cursor*>(pointer_.get());
  return cursor ? cursor->Handle() : nullptr;
}

void Win32Label::Fit() {
  if (!autoSize_) return;
  ScreenDc screen;
  HGDIOBJ previous = SelectObject(screen.Get(), gdiFont_.Get());
  RECT text{0, 0, 0, 0};
  // The longest line wide; as many lines high as the text has.
  DrawTextW(screen.Get(), wideCaption_.c_str(), static_cast<int>(wideCaption_.size()), &text,
            DT_CALCRECT | DT_NOPREFIX);
  SelectObject(screen.Get(), previous);
  const int frame = border_ ? 2 * kBorderInset : 0;
  const PixelRect before = bounds_;
  bounds_.width = text.right - text.left + frame;
  bounds_.height = text.bottom - text.top + frame;
  owner_.InvalidateArea(before);
}

void Win32Label::Draw(HDC dc) const {
  const RECT bounds = ToRect(bounds_);
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  RECT text = bounds;
  if (border_) {
    FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&text, -kBorderInset, -kBorderInset);
  }
  if (!wideCaption_.empty()) {
    SelectObject(dc, gdiFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    // Long words are broken where an edit control would break them.
    const UINT format = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_TOP |
                        (alignment_ == Alignment::Centre ? DT_CENTER : DT_LEFT);
    const int length = static_cast<int>(wideCaption_.size());
    if (enabled_) {
      SetTextColor(dc, fore_);
      DrawTextW(dc, wideCaption_.c_str(), length, &text, format);
    } else {
      RECT shadow = text;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, kGreyShadow);
      DrawTextW(dc, wideCaption_.c_str(), length, &shadow, format);
      SetTextColor(dc, kGreyText);
      DrawTextW(dc, wideCaption_.c_str(), length, &text, format);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace toolkit::win32
