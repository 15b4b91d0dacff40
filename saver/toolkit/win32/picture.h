#pragma once
// Decoded pictures and pointer shapes of the Win32 backend.
#include "saver/toolkit/win32/windows_api.h"

#include <cstdint>
#include <span>

#include "saver/toolkit/toolkit.h"
#include "saver/toolkit/win32/gdi_object.h"

namespace toolkit::win32 {

// A bitmap picture (32 bits per pixel, top-down DIB section) or an icon.
class Win32Picture final : public Picture {
 public:
  static PictureRef FromBitmap(HBITMAP bitmap, Size size);
  static PictureRef FromIcon(HICON icon, Size size);
  ~Win32Picture() override;

  Size PixelSize() const override { return size_; }
  HICON Icon() const { return icon_; }
  HBITMAP Bitmap() const { return bitmap_.Get(); }

  // At natural size with its top-left at (x, y), no further than `clip`.
  void DrawAt(HDC target, int x, int y, const RECT& clip) const;
  // StretchBlt (SRCCOPY) of `source` into `destination`; an icon is drawn
  // stretched over the destination with its mask.
  void StretchTo(HDC target, const PixelRect& destination, const PixelRect& source) const;

 private:
  Win32Picture(HBITMAP bitmap, HICON icon, Size size) : bitmap_(bitmap), icon_(icon), size_(size) {}

  GdiObject<HBITMAP> bitmap_;
  HICON icon_ = nullptr;
  Size size_;
};

class Win32Cursor final : public Cursor {
 public:
  explicit Win32Cursor(HCURSOR cursor) : cursor_(cursor) {}
  ~Win32Cursor() override { DestroyCursor(cursor_); }
  Win32Cursor(const Win32Cursor&) = delete;
  Win32Cursor& operator=(const Win32Cursor&) = delete;
  HCURSOR Handle() const { return cursor_; }

 private:
  HCURSOR cursor_;
};

// A 32-bit top-down DIB section of that size, all black; null when it cannot be made.
HBITMAP CreatePictureBitmap(Size size);

// Decoders; each gives null for data it cannot take.
PictureRef DecodeBmp(std::span<const unsigned char> data);
PictureRef DecodeIco(std::span<const unsigned char> data);
// JPEG and whatever else the system's OLE picture loader reads.
PictureRef DecodeWithOle(std::span<const unsigned char> data);
CursorRef DecodeCur(std::span<const unsigned char> data);

}  // namespace toolkit::win32
