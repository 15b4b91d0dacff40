#include "saver/toolkit/win32/combo_box.h"

#include "saver/toolkit/win32/text.h"

namespace toolkit::win32 {
namespace {

// The dropped list shows this many entries before it scrolls.
constexpr int kVisibleItems = 8;

}  // namespace

Win32ComboBox::Win32ComboBox(ContainerCore& owner)
    : owner_(owner), font_(CreateGdiFont(Font{})), brush_(CreateSolidBrush(back_)) {}

Win32ComboBox::~Win32ComboBox() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Win32ComboBox::CreateIn(HWND parent) {
  if (hwnd_) return;
  static int nextId = 1000;
  const DWORD style = WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                      (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
  hwnd_ = CreateWindowExW(0, L"COMBOBOX", L"", style, bounds_.x, bounds_.y, bounds_.width,
                          bounds_.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  for (const std::string& item : items_)
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SetWindowTextW(hwnd_, Widen(text_).c_str());
  Place();
}

void Win32ComboBox::Place() const {
  if (!hwnd_) return;
  // The height given to a drop-down combo box is the closed field and the
  // dropped list together; the field's own height follows its font.
  const LRESULT itemHeight = SendMessageW(hwnd_, CB_GETITEMHEIGHT, 0, 0);
  const int list = (itemHeight > 0 ? static_cast<int>(itemHeight) : 16) * kVisibleItems + 2;
  SetWindowPos(hwnd_, nullptr, bounds_.x, bounds_.y, bounds_.width, bounds_.height + list,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32ComboBox::Move(const PixelRect& bounds) {
  bounds_ = bounds;
  Place();
}

void Win32ComboBox::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32ComboBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Win32ComboBox::SetText(std::string_view text) {
  text_ = std::string(text);
  if (hwnd_) SetWindowTextW(hwnd_, Widen(text_).c_str());
}

std::string Win32ComboBox::Text() const {
  if (!hwnd_) return text_;
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int got = GetWindowTextW(hwnd_, wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Narrow(wide);
}

void Win32ComboBox::AddItem(std::string_view item) {
  items_.emplace_back(item);
  if (hwnd_) SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

std::string Win32ComboBox::Item(int index) const {
  if (index < 0 || index >= ItemCount()) return {};
  return items_[static_cast<size_t>(index)];
}

void Win32ComboBox::SetFont(const Font& font) {
  GdiObject<HFONT> fresh = CreateGdiFont(font);
  // The old font goes only once the window has let go of it.
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fresh.Get()), TRUE);
  font_ = std::move(fresh);
  Place();
}

void Win32ComboBox::SetBackColour(Colour colour) {
  back_ = colour;
  brush_.Reset(CreateSolidBrush(back_));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

std::optional<HBRUSH> Win32ComboBox::ColourFor(HWND from, HDC dc) const {
  if (!hwnd_ || !from) return std::nullopt;
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  const bool list = GetComboBoxInfo(hwnd_, &info) && from == info.hwndList;
  if (from != hwnd_ && !IsChild(hwnd_, from) && !list) return std::nullopt;
  SetBkColor(dc, back_);
  return brush_.Get();
}

}  // namespace toolkit::win32
