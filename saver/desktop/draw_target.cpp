#include "saver/desktop/draw_target.h"

#include <charconv>
#include <string>
#include <vector>

#include "saver/startup.h"
#include "x11/window_id.h"

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

std::optional<DrawTarget> DrawTargetOf(std::string_view commandLine, const char* daemonWindow) {
  const std::vector<std::string_view> words = Words(commandLine);
  // 0: no daemon's window that can be read.
  const unsigned long given = daemonWindow != nullptr ? x11::ParseWindowId(daemonWindow).value_or(0) : 0;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "-window-id" || words[i] == "--window-id") {
      const auto id = i + 1 < words.size() ? x11::ParseWindowId(words[i + 1]) : std::nullopt;
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
