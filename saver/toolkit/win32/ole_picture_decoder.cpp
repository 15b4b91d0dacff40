// JPEG (and GIF) pictures through the system's OLE picture loader, copied
// into a 32-bit picture of our own so that every picture draws alike.
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "saver/toolkit/win32/com.h"
#include "saver/toolkit/win32/picture.h"

namespace toolkit::win32 {

PictureRef DecodeWithOle(std::span<const unsigned char> data) {
  if (data.empty() || data.size() > 64u * 1024 * 1024) return nullptr;
  // The JPEG decoder behind the loader is a COM object.
  EnsureCom();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (!memory) return nullptr;
  void* bytes = GlobalLock(memory);
  if (!bytes) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(bytes, data.data(), data.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  // The stream owns the memory from here on.
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* loaded = nullptr;
  const HRESULT result = OleLoadPicture(stream, static_cast<LONG>(data.size()), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&loaded));
  stream->Release();
  if (FAILED(result) || !loaded) return nullptr;

  PictureRef picture;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(loaded->get_Type(&type)) && type == PICTYPE_BITMAP &&
      SUCCEEDED(loaded->get_Handle(&handle))) {
    HBITMAP source = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (GetObjectW(source, sizeof(info), &info) == sizeof(info)) {
      const Size size{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
      HBITMAP copy = CreatePictureBitmap(size);
      if (copy) {
        ScreenDc screen;
        MemoryDc from(screen.Get());
        MemoryDc to(screen.Get());
        from.Select(source);
        to.Select(copy);
        BitBlt(to.Get(), 0, 0, size.width, size.height, from.Get(), 0, 0, SRCCOPY);
      }
      picture = Win32Picture::FromBitmap(copy, size);
    }
  }
  loaded->Release();
  return picture;
}

}  // namespace toolkit::win32
