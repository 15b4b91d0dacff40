#pragma once
// The shell's and the common dialogs' services, through their A functions
// in the system's ANSI code page.
#include <cstdint>
#include <string_view>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

// ShellExecuteA(owner, "open", url, "", "", SW_SHOWNORMAL); its result.
std::int32_t OpenWin32Url(WindowHandle owner, std::string_view url);

// GetOpenFileNameA in the structure's 4.0 size, flags 0.
OpenFileResult ChooseWin32OpenFile(const OpenFileRequest& request);

// Text that is only shown: where the ANSI code page lacks a character, the
// system's default character stands in.
std::string ShownTextToAnsi(std::string_view utf8);

}  // namespace toolkit::win32
