#pragma once
#include <algorithm>
#include <span>
#include <string_view>

namespace music {

// Writes `text` (UTF-8) into a reply buffer as MCI does: cut to size - 1,
// then a NUL; the bytes after the NUL keep what they held. A cut never
// splits a character: half of one would not convert back to the code page.
inline void WriteReply(std::string_view text, std::span<char> buffer) {
  if (buffer.empty()) return;
  std::size_t length = std::min(text.size(), buffer.size() - 1);
  if (length < text.size()) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::copy_n(text.data(), length, buffer.data());
  buffer[length] = '\0';
}

}  // namespace music
