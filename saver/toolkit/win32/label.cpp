#include "saver/toolkit/win32/label.h"

#include "saver/toolkit/win32/picture.h"
#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

constexpr COLORREF kGreyText = RGB(128, 128, 128);
constexpr COLORREF kGreyShadow = RGB(255, 255, 255);

}  // namespace

Win32Label::Win32Label(ContainerCore& owner)
    : LabelOf({.lineWidth =
                  [this](std::string_view line) {
                    const std::wstring wide = Widen(std::string(line));
                    ScreenDc screen;
                    HGDIOBJ previous = SelectObject(screen.Get(), gdiFont_.Get());
                    RECT text{0, 0, 0, 0};
                    DrawTextW(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &text,
                              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                    SelectObject(screen.Get(), previous);
                    return static_cast<int>(text.right - text.left);
                  },
              .lineHeight =
                  [this] {
                    ScreenDc screen;
                    HGDIOBJ previous = SelectObject(screen.Get(), gdiFont_.Get());
                    TEXTMETRICW metrics{};
                    GetTextMetricsW(screen.Get(), &metrics);
                    SelectObject(screen.Get(), previous);
                    return static_cast<int>(metrics.tmHeight);
                  },
              .fontChanged = [this](const Font& font) { gdiFont_ = CreateGdiFont(font); },
              .resize =
                  [this](Size size) {
                    const PixelRect before = bounds_;
                    bounds_.width = size.width;
                    bounds_.height = size.height;
                    owner_.InvalidateArea(before);
                  },
              .changed = [this] { Changed(); }},
              owner) {
  gdiFont_ = CreateGdiFont(props_.GetFont());
}

HCURSOR Win32Label::Pointer() const {
  const auto* cursor = dynamic_cast<const Win32Cursor*>(props_.Pointer().get());
  return cursor ? cursor->Handle() : nullptr;
}

void Win32Label::Draw(HDC dc) const {
  const RECT bounds = ToRect(bounds_);
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  RECT text = ToRect(props_.TextArea(bounds_));
  if (props_.Border()) FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const std::wstring caption = Widen(props_.Caption());
  if (!caption.empty()) {
    SelectObject(dc, gdiFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    // Long words are broken where an edit control would break them.
    const UINT format = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_TOP |
                        (props_.GetAlignment() == Alignment::Centre ? DT_CENTER : DT_LEFT);
    const int length = static_cast<int>(caption.size());
    if (enabled_) {
      SetTextColor(dc, props_.ForeColour());
      DrawTextW(dc, caption.c_str(), length, &text, format);
    } else {
      RECT shadow = text;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, kGreyShadow);
      DrawTextW(dc, caption.c_str(), length, &shadow, format);
      SetTextColor(dc, kGreyText);
      DrawTextW(dc, caption.c_str(), length, &text, format);
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace toolkit::win32
