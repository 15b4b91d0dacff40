#pragma once

namespace toolkit::win32 {

// COM on the UI thread, once, for the shell, the common dialogs and the
// picture loader.
void EnsureCom();

}  // namespace toolkit::win32
