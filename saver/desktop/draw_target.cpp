#include "saver/desktop/draw_target.h"

#include <charconv>
#include <string>
#include <vector>

#include "saver/startup.h"

namespace desktop {
namespace {

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t begin = text.find_first_not_of(" \t", at);
    if (begin == std::string_view::npos) break;
    const size_t end = std::min(text.find_first_of(" \t", begin), text.size());
    words.push_back(text.substr(begin, end - begin));
    at = end;
  }
  return words;
}

}  // namespace

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

std::optional<DrawTarget> DrawTargetOf(std::string_view commandLine, const char* daemonWindow) {
  const std::vector<std::string_view> words = Words(commandLine);
  // 0: no daemon's window that can be read.
  const unsigned long given = daemonWindow != nullptr ? ParseWindowId(daemonWindow).value_or(0) : 0;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "-window-id" || words[i] == "--window-id") {
      const auto id = i + 1 < words.size() ? ParseWindowId(words[i + 1]) : std::nullopt;
      return DrawTarget{id.value_or(0), false};
    }
  }
  for (std::string_view word : words) {
    if (word == "-root" || word == "--root") return given ? DrawTarget{given, false} : DrawTarget{0, true};
  }
  const std::string letter = saver::ModeLetter(commandLine);
  if (given && (letter == "S" || commandLine.empty())) return DrawTarget{given, false};
  return std::nullopt;
}

}  // namespace desktop
