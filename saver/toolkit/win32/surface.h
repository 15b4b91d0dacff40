#pragma once
// A retained drawing surface: a memory device context holding a bitmap
// compatible with the screen. The window it belongs to copies it on
// WM_PAINT; program code never runs for a repaint.
#include "saver/toolkit/win32/windows_api.h"

#include <functional>

#include "saver/toolkit/toolkit.h"
#include "saver/toolkit/win32/gdi_object.h"

namespace toolkit::win32 {

class Win32Surface final : public Surface {
 public:
  explicit Win32Surface(Colour backColour);
  ~Win32Surface() override;
  Win32Surface(const Win32Surface&) = delete;
  Win32Surface& operator=(const Win32Surface&) = delete;

  Size PixelSize() const override { return size_; }
  void Clear() override;
  void Line(Point from, Point to, Colour colour) override;
  void GradientFillRectV(std::span<const GradientVertex> vertices, GradientRect rect) override;
  void PaintPicture(const Picture& picture, const PixelRect& destination,
                    const PixelRect& source) override;
  void Refresh() override;

  // A new size keeps the pixels that still fit; new area gets the back colour.
  void Resize(Size size);
  void SetBackColour(Colour colour) { back_ = colour; }
  Colour BackColour() const { return back_; }
  // Copies a part of the image (surface coordinates) to `target` at the
  // same logical coordinates.
  void CopyTo(HDC target, const RECT& area) const;
  HDC Dc() const { return dc_; }

  // Called after every drawing call (invalidate the window) and on Refresh
  // (paint now).
  std::function<void()> changed;
  std::function<void()> refresh;

 private:
  void Changed() const;

  Colour back_;
  Size size_;
  HDC dc_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ originalBitmap_ = nullptr;
};

}  // namespace toolkit::win32
