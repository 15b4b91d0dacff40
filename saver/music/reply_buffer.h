#pragma once
#include <algorithm>
#include <span>
#include <string_view>

namespace music {

// Writes `text` into a reply buffer as MCI does: cut to size - 1, then a NUL;
// the bytes after the NUL keep what they held.
inline void WriteReply(std::string_view text, std::span<char> buffer) {
  if (buffer.empty()) return;
  const std::size_t length = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.data(), length, buffer.data());
  buffer[length] = '\0';
}

}  // namespace music
