#include <objbase.h>

#include "saver/toolkit/win32/com.h"

namespace toolkit::win32 {

void EnsureCom() {
  // Never uninitialised: the process ends with it.
  static const bool initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  (void)initialised;
}

}  // namespace toolkit::win32
