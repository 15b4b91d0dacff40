#include "x11/window_id.h"

#include <charconv>

namespace x11 {

std::optional<unsigned long> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned long id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
  // X resource ids have 29 bits.
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0 || id > 0x1FFFFFFFul)
    return std::nullopt;
  return id;
}

}  // namespace x11
