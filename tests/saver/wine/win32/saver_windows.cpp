// saver_windows.exe: what the saver's windows look like from another
// process, as the system itself reports it. Arguments are UTF-8; the
// titles go to FindWindowA in the ANSI code page, as the saver's do.
//   find TITLE...          found<i>=0|1 for each title
//   window TITLE           the top-level window's styles and rectangles
//   font NAME POINTS TEXT  the face the system takes for that name, and
//                          how many characters of TEXT it has no glyph for
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), static_cast<int>(out.size()));
  out.resize(out.size() ? out.size() - 1 : 0);
  return out;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  std::string out(static_cast<size_t>(WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                  '\0');
  WideCharToMultiByte(codePage, 0, wide.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(out.size() ? out.size() - 1 : 0);
  return out;
}

void Print(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}
void Print(const std::string& key, long long value) { Print(key, std::to_string(value)); }

HWND Find(const std::string& title) { return FindWindowA(nullptr, Narrow(Wide(title), CP_ACP).c_str()); }

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
         std::to_string(r.bottom - r.top);
}

int Window(const std::string& title) {
  HWND window = Find(title);
  Print("found", window ? 1 : 0);
  if (!window) return 1;
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  Print("visible", IsWindowVisible(window) ? 1 : 0);
  Print("child", (style & WS_CHILD) ? 1 : 0);
  Print("caption", (style & WS_CAPTION) == WS_CAPTION ? 1 : 0);
  Print("sysmenu", (style & WS_SYSMENU) ? 1 : 0);
  Print("thickframe", (style & WS_THICKFRAME) ? 1 : 0);
  Print("minimizebox", (style & WS_MINIMIZEBOX) ? 1 : 0);
  Print("maximizebox", (style & WS_MAXIMIZEBOX) ? 1 : 0);
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Print("outer", RectText(outer));
  Print("client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
  Print("client_origin", std::to_string(origin.x) + "," + std::to_string(origin.y));
  HMENU menu = GetSystemMenu(window, FALSE);
  // A window that cannot be resized has no Size entry to choose.
  Print("size_enabled", menu && !(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) ? 1 : 0);
  // Where the system says the frame may be grabbed: nowhere, for a fixed frame.
  const LRESULT edge = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(outer.right - 1, outer.bottom - 1));
  Print("corner_hit", static_cast<long long>(edge));
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  Print("pid", static_cast<long long>(process));
  return 0;
}

int Font(const std::string& name, double points, const std::string& text) {
  HDC dc = GetDC(nullptr);
  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(points * GetDeviceCaps(dc, LOGPIXELSY) / 72.0 + 0.5);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = SHIFTJIS_CHARSET;
  const std::wstring face = Wide(name);
  wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  wchar_t chosen[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, chosen);
  Print("face", Narrow(chosen, CP_UTF8));
  const std::wstring wide = Wide(text);
  std::vector<WORD> glyphs(wide.size());
  GetGlyphIndicesW(dc, wide.c_str(), static_cast<int>(wide.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  int missing = 0;
  for (WORD glyph : glyphs) missing += glyph == 0xFFFF ? 1 : 0;
  Print("missing", missing);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  Print("charset", metrics.tmCharSet);
  Print("fixed_pitch", (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 0 : 1);  // the bit means variable pitch
  SIZE narrow{}, wideSize{};
  GetTextExtentPoint32W(dc, L"i", 1, &narrow);
  GetTextExtentPoint32W(dc, L"W", 1, &wideSize);
  Print("width_i", narrow.cx);
  Print("width_W", wideSize.cx);
  SelectObject(dc, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i], CP_UTF8));
  LocalFree(wide);
  if (args.empty()) return 2;
  if (args[0] == "find") {
    for (size_t i = 1; i < args.size(); ++i) Print("found" + std::to_string(i), Find(args[i]) ? 1 : 0);
    return 0;
  }
  if (args[0] == "window" && args.size() == 2) return Window(args[1]);
  if (args[0] == "font" && args.size() == 4) return Font(args[1], std::atof(args[2].c_str()), args[3]);
  return 2;
}
