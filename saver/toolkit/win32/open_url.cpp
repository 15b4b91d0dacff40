#include "saver/toolkit/win32/windows_api.h"
#include <shellapi.h>

#include "saver/common/code_page.h"
#include "saver/toolkit/win32/com.h"
#include "saver/toolkit/win32/shell.h"

namespace toolkit::win32 {

std::int32_t OpenWin32Url(WindowHandle owner, std::string_view url) {
  const std::optional<std::string> ansi = common::Utf8ToAnsi(url);
  // An address the code page cannot hold is not opened as another one.
  if (!ansi) return SE_ERR_FNF;
  EnsureCom();
  HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(owner), "open", ansi->c_str(), "", "",
                                   SW_SHOWNORMAL);
  return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace toolkit::win32
