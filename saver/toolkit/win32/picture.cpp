#include "saver/toolkit/win32/picture.h"

#include <algorithm>

namespace toolkit::win32 {

HBITMAP CreatePictureBitmap(Size size) {
  if (size.width <= 0 || size.height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

PictureRef Win32Picture::FromBitmap(HBITMAP bitmap, Size size) {
  if (!bitmap) return nullptr;
  return PictureRef(new Win32Picture(bitmap, nullptr, size));
}

PictureRef Win32Picture::FromIcon(HICON icon, Size size) {
  if (!icon) return nullptr;
  return PictureRef(new Win32Picture(nullptr, icon, size));
}

Win32Picture::~Win32Picture() {
  if (icon_) DestroyIcon(icon_);
}

void Win32Picture::DrawAt(HDC target, int x, int y, const RECT& clip) const {
  const int width = std::min<int>(size_.width, clip.right - x);
  const int height = std::min<int>(size_.height, clip.bottom - y);
  if (width <= 0 || height <= 0) return;
  if (bitmap_) {
    MemoryDc source(target);
    source.Select(bitmap_.Get());
    BitBlt(target, x, y, width, height, source.Get(), 0, 0, SRCCOPY);
  } else if (icon_) {
    const int saved = SaveDC(target);
    IntersectClipRect(target, clip.left, clip.top, clip.right, clip.bottom);
    DrawIconEx(target, x, y, icon_, size_.width, size_.height, 0, nullptr, DI_NORMAL);
    RestoreDC(target, saved);
  }
}

void Win32Picture::StretchTo(HDC target, const PixelRect& destination,
                             const PixelRect& source) const {
  if (bitmap_) {
    MemoryDc from(target);
    from.Select(bitmap_.Get());
    // The stretch mode stays the one a new device context has.
    StretchBlt(target, destination.x, destination.y, destination.width, destination.height,
               from.Get(), source.x, source.y, source.width, source.height, SRCCOPY);
  } else if (icon_) {
    DrawIconEx(target, destination.x, destination.y, icon_, destination.width, destination.height,
               0, nullptr, DI_NORMAL);
  }
}

}  // namespace toolkit::win32
