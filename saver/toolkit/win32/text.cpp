#include "saver/toolkit/win32/text.h"

#include "saver/common/code_page.h"
#include "saver/toolkit/win32/windows_api.h"

namespace toolkit::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide) { return common::WideToUtf8(wide); }

}  // namespace toolkit::win32
