#pragma once
// The shell's and the common dialogs' services.
#include <cstdint>
#include <string_view>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

// ShellExecuteA(owner, "open", url, "", "", SW_SHOWNORMAL); its result.
std::int32_t OpenWin32Url(WindowHandle owner, std::string_view url);

// GetOpenFileNameW in the structure's 4.0 size, flags 0.
OpenFileResult ChooseWin32OpenFile(const OpenFileRequest& request);

}  // namespace toolkit::win32
