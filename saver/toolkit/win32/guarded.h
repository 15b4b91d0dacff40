#pragma once
// Program handlers run inside window procedures: nothing they throw may
// unwind through the system's frames. A failing handler is skipped, as the
// program's resume-on-error handlers expect.
#include <utility>

namespace toolkit::win32 {

template <class Handler>
void Guarded(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
  }
}

}  // namespace toolkit::win32
