// saver_scr_resources.exe FILE: what the Display control panel reads from a
// screen saver without running it. Prints name= (string 1), icon=WxH of
// icon group 1 at its natural size, version= and product= of the version block.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Narrow(const wchar_t* wide, int length = -1) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), bytes, nullptr, nullptr);
  if (length < 0 && !utf8.empty()) utf8.pop_back();
  return utf8;
}

void Print(const char* key, const std::string& value) { std::printf("%s=%s\n", key, value.c_str()); }

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 2) return 2;
  const wchar_t* file = args[1];

  HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return 1;
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, 1, reinterpret_cast<wchar_t*>(&text), 0);
  Print("name", length > 0 ? Narrow(text, length) : std::string());

  HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  ICONINFO info{};
  if (icon != nullptr && GetIconInfo(icon, &info)) {
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
    // A monochrome icon's mask holds both halves; a colour icon's only one.
    const int height = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    Print("icon", std::to_string(bitmap.bmWidth) + "x" + std::to_string(height));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  } else {
    Print("icon", "none");
  }
  FreeLibrary(module);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  std::vector<unsigned char> block(size);
  if (size > 0 && GetFileVersionInfoW(file, 0, size, block.data())) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed) {
      Print("version", std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                           std::to_string(LOWORD(fixed->dwFileVersionLS)));
    }
    wchar_t* product = nullptr;
    UINT productLength = 0;
    if (VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\ProductName",
                       reinterpret_cast<void**>(&product), &productLength) && product) {
      Print("product", Narrow(product));
    }
  }
  LocalFree(args);
  std::fflush(stdout);
  return 0;
}
