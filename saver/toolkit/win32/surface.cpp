#include "saver/toolkit/win32/surface.h"

#include <algorithm>
#include <vector>

#include "saver/toolkit/win32/picture.h"

namespace toolkit::win32 {
namespace {

// GDI cannot make an empty bitmap; a zero-sized surface keeps one pixel
// that nothing ever shows.
int AtLeastOne(int value) { return value > 0 ? value : 1; }

}  // namespace

Win32Surface::Win32Surface(Colour backColour) : back_(backColour) {
  ScreenDc screen;
  dc_ = CreateCompatibleDC(screen.Get());
  bitmap_.Reset(CreateCompatibleBitmap(screen.Get(), 1, 1));
  originalBitmap_ = SelectObject(dc_, bitmap_.Get());
  Clear();
}

Win32Surface::~Win32Surface() {
  if (dc_) {
    SelectObject(dc_, originalBitmap_);
    DeleteDC(dc_);
  }
}

void Win32Surface::Changed() const {
  if (changed) changed();
}

void Win32Surface::Resize(Size size) {
  size.width = std::max(size.width, 0);
  size.height = std::max(size.height, 0);
  if (size == size_) return;
  ScreenDc screen;
  GdiObject<HBITMAP> bigger(
      CreateCompatibleBitmap(screen.Get(), AtLeastOne(size.width), AtLeastOne(size.height)));
  if (!bigger) return;
  {
    // The new bitmap must have left this DC before it goes into the surface's.
    MemoryDc fresh(screen.Get());
    fresh.Select(bigger.Get());
    RECT all{0, 0, AtLeastOne(size.width), AtLeastOne(size.height)};
    HBRUSH brush = CreateSolidBrush(back_);
    FillRect(fresh.Get(), &all, brush);
    DeleteObject(brush);
    BitBlt(fresh.Get(), 0, 0, std::min(size.width, size_.width),
           std::min(size.height, size_.height), dc_, 0, 0, SRCCOPY);
  }
  SelectObject(dc_, bigger.Get());
  bitmap_ = std::move(bigger);
  size_ = size;
  Changed();
}

void Win32Surface::Clear() {
  RECT all{0, 0, AtLeastOne(size_.width), AtLeastOne(size_.height)};
  HBRUSH brush = CreateSolidBrush(back_);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
  Changed();
}

void Win32Surface::Line(Point from, Point to, Colour colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ previous = SelectObject(dc_, pen);
  SetROP2(dc_, R2_COPYPEN);
  MoveToEx(dc_, from.x, from.y, nullptr);
  LineTo(dc_, to.x, to.y);
  SelectObject(dc_, previous);
  DeleteObject(pen);
  Changed();
}

void Win32Surface::GradientFillRectV(std::span<const GradientVertex> vertices, GradientRect rect) {
  if (rect.upperLeft >= vertices.size() || rect.lowerRight >= vertices.size()) return;
  std::vector<TRIVERTEX> points(vertices.size());
  for (size_t i = 0; i < vertices.size(); ++i) {
    points[i].x = vertices[i].x;
    points[i].y = vertices[i].y;
    points[i].Red = vertices[i].red;
    points[i].Green = vertices[i].green;
    points[i].Blue = vertices[i].blue;
    points[i].Alpha = vertices[i].alpha;
  }
  GRADIENT_RECT mesh{rect.upperLeft, rect.lowerRight};
  GradientFill(dc_, points.data(), static_cast<ULONG>(points.size()), &mesh, 1,
               GRADIENT_FILL_RECT_V);
  Changed();
}

void Win32Surface::PaintPicture(const Picture& picture, const PixelRect& destination,
                                const PixelRect& source) {
  const auto* own = dynamic_cast<const Win32Picture*>(&picture);
  if (!own) return;
  own->StretchTo(dc_, destination, source);
  Changed();
}

void Win32Surface::Refresh() {
  if (refresh) refresh();
}

void Win32Surface::CopyTo(HDC target, const RECT& area) const {
  const int width = std::min<int>(area.right, size_.width) - area.left;
  const int height = std::min<int>(area.bottom, size_.height) - area.top;
  if (width > 0 && height > 0) {
    BitBlt(target, area.left, area.top, width, height, dc_, area.left, area.top, SRCCOPY);
  }
  // Whatever lies beyond the image (a window larger than its surface for a
  // moment) shows the back colour.
  HBRUSH brush = CreateSolidBrush(back_);
  if (area.right > size_.width) {
    RECT right{std::max<LONG>(area.left, size_.width), area.top, area.right, area.bottom};
    FillRect(target, &right, brush);
  }
  if (area.bottom > size_.height) {
    RECT below{area.left, std::max<LONG>(area.top, size_.height), area.right, area.bottom};
    FillRect(target, &below, brush);
  }
  DeleteObject(brush);
}

}  // namespace toolkit::win32
