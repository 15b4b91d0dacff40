// probe.exe: looks at and talks to the renderer's window from another
// process, as the saver program and other Windows programs would. Prints
// key=value lines; exit code 0 when the request could be carried out.
//   probe.exe wait TITLE MS [KEY=VALUE...]
//                                  window info once a window of that title exists
//                                  and shows every KEY=VALUE given
//   probe.exe gone TITLE MS        waits until no window has that title
//   probe.exe post TITLE MSG WPARAM LPARAM
//   probe.exe mode                 the display's current mode
//   probe.exe system               ANSI code page and wave output devices
//   probe.exe resources FILE       the bitmaps, icon and version text of a program
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace probe {

constexpr DWORD PollMs = 20;

using Fields = std::map<std::string, std::string>;

std::string Format(const char* format, long a, long b = 0, long c = 0, long d = 0) {
  char text[64];
  std::snprintf(text, sizeof(text), format, a, b, c, d);
  return text;
}

Fields Describe(HWND window) {
  char className[256] = "";
  GetClassNameA(window, className, sizeof(className));
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const auto style = static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE));
  const auto exStyle = static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE));
  Fields fields;
  fields["class"] = className;
  fields["style"] = Format("0x%08lx", static_cast<long>(style));
  fields["exstyle"] = Format("0x%08lx", static_cast<long>(exStyle));
  fields["caption"] = (style & WS_CAPTION) == WS_CAPTION ? "1" : "0";
  fields["popup"] = (style & WS_POPUP) ? "1" : "0";
  fields["topmost"] = (exStyle & WS_EX_TOPMOST) ? "1" : "0";
  fields["rect"] = Format("%ld,%ld,%ld,%ld", outer.left, outer.top, outer.right, outer.bottom);
  fields["client"] = Format("%ld,%ld", client.right - client.left, client.bottom - client.top);
  fields["visible"] = IsWindowVisible(window) ? "1" : "0";
  fields["iconic"] = IsIconic(window) ? "1" : "0";
  return fields;
}

bool Shows(const Fields& fields, int count, char** conditions) {
  for (int i = 0; i < count; ++i) {
    const std::string condition = conditions[i];
    const auto equals = condition.find('=');
    if (equals == std::string::npos) return false;
    const auto field = fields.find(condition.substr(0, equals));
    if (field == fields.end() || field->second != condition.substr(equals + 1)) return false;
  }
  return true;
}

// Polls for a window of the title that meets the conditions; its fields, or
// nothing after the time is up.
std::optional<Fields> WaitForWindow(const char* title, DWORD timeoutMs, int count, char** conditions) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindWindowA(nullptr, title)) {
      Fields fields = Describe(window);
      if (Shows(fields, count, conditions)) return fields;
    }
    if (GetTickCount() - start >= timeoutMs) return std::nullopt;
    Sleep(PollMs);
  }
}

bool WaitUntilGone(const char* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (FindWindowA(nullptr, title)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(PollMs);
  }
  return true;
}

int Mode() {
  DEVMODEA mode;
  ZeroMemory(&mode, sizeof(mode));
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
  std::printf("mode=%lu,%lu,%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
  return 0;
}

// FNV-1a over the pixel rows as the program itself would load them.
unsigned long long HashBytes(const unsigned char* bytes, std::size_t size) {
  unsigned long long hash = 1469598103934665603ull;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

int Resources(const char* file) {
  HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return 1;
  for (int id : {127, 123, 124}) {
    HANDLE image = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    BITMAP bitmap{};
    if (!image || GetObjectA(image, sizeof(bitmap), &bitmap) != sizeof(bitmap) || !bitmap.bmBits) {
      std::printf("bitmap%d=missing\n", id);
    } else {
      const auto size = static_cast<std::size_t>(bitmap.bmWidthBytes) * bitmap.bmHeight;
      std::printf("bitmap%d=%ld,%ld,%d,%016llx\n", id, bitmap.bmWidth, bitmap.bmHeight, bitmap.bmBitsPixel,
                  HashBytes(static_cast<const unsigned char*>(bitmap.bmBits), size));
    }
    if (image) DeleteObject(image);
  }
  HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0));
  ICONINFO info{};
  BITMAP colour{};
  if (icon && GetIconInfo(icon, &info) && info.hbmColor && GetObjectA(info.hbmColor, sizeof(colour), &colour)) {
    std::printf("icon=%ld,%ld\n", colour.bmWidth, colour.bmHeight);
  } else {
    std::printf("icon=missing\n");
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (icon) DestroyIcon(icon);
  FreeLibrary(module);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  std::string block(size, '\0');
  char* text = nullptr;
  UINT length = 0;
  if (size && GetFileVersionInfoA(file, 0, size, block.data()) &&
      VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\OriginalFilename", reinterpret_cast<void**>(&text),
                     &length) &&
      text) {
    std::printf("originalfilename=%s\n", text);
  } else {
    std::printf("originalfilename=missing\n");
  }
  return 0;
}

int System() {
  std::printf("acp=%u\n", GetACP());
  std::printf("wavedevices=%u\n", waveOutGetNumDevs());
  return 0;
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 0)); }

}  // namespace probe

int main(int argc, char** argv) {
  using namespace probe;
  if (argc < 2) return 2;
  const std::string verb = argv[1];
  int rc = 2;
  if (verb == "wait" && argc >= 4) {
    const auto fields = WaitForWindow(argv[2], Number(argv[3]), argc - 4, argv + 4);
    if (fields)
      for (const auto& [key, value] : *fields) std::printf("%s=%s\n", key.c_str(), value.c_str());
    rc = fields ? 0 : 1;
  } else if (verb == "gone" && argc == 4) {
    rc = WaitUntilGone(argv[2], Number(argv[3])) ? 0 : 1;
  } else if (verb == "post" && argc == 6) {
    HWND window = FindWindowA(nullptr, argv[2]);
    rc = window && PostMessageA(window, Number(argv[3]), Number(argv[4]), Number(argv[5])) ? 0 : 1;
  } else if (verb == "system" && argc == 2) {
    rc = System();
  } else if (verb == "mode" && argc == 2) {
    rc = Mode();
  } else if (verb == "resources" && argc == 3) {
    rc = Resources(argv[2]);
  }
  std::fflush(stdout);
  return rc;
}
