#include <windows.h>

#include "saver/common/code_page.h"

namespace common {
namespace {

// CP_ACP names the system's code page, which may itself be UTF-8; the
// UTF-8 rules below must see which one it is.
UINT Resolve(UINT codePage) { return codePage == CP_ACP ? GetACP() : codePage; }

std::optional<std::wstring> ToWide(UINT codePage, DWORD flags, std::string_view text) {
  codePage = Resolve(codePage);
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

// No value when a character has no form in the code page: the system would
// otherwise put a '?' or a look-alike in its place.
std::optional<std::string> FromWideStrict(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return std::string();
  codePage = Resolve(codePage);
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = codePage == CP_UTF8 ? nullptr : &usedDefault;
  DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  int length = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, usedDefaultPtr);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), out.data(),
                      length, nullptr, usedDefaultPtr);
  return out;
}

std::optional<std::string> Recode(UINT from, UINT to, std::string_view text) {
  std::optional<std::wstring> wide = ToWide(from, MB_ERR_INVALID_CHARS, text);
  if (!wide) return std::nullopt;
  return FromWideStrict(to, *wide);
}

std::string RecodeLossy(UINT from, std::string_view text) {
  std::optional<std::wstring> wide = ToWide(from, 0, text);
  if (!wide) return {};
  return FromWideStrict(CP_UTF8, *wide).value_or(std::string());
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) { return Recode(CP_UTF8, 932, utf8); }

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return Recode(932, CP_UTF8, cp932);
}

std::string Cp932ToUtf8Lossy(std::string_view cp932) { return RecodeLossy(932, cp932); }

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) { return Recode(CP_UTF8, CP_ACP, utf8); }

std::string AnsiToUtf8Lossy(std::string_view ansi) { return RecodeLossy(CP_ACP, ansi); }

std::optional<std::wstring> Utf8ToWide(std::string_view utf8) {
  return ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

}  // namespace common
