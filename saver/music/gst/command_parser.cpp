#include "saver/music/gst/command_parser.h"

#include "saver/music/mci_errors.h"

namespace music {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool IsKeyword(const MciToken& token, std::string_view word) {
  return !token.quoted && AsciiLower(token.text) == word;
}

ParsedCommand ParseMciCommand(std::string_view text) {
  ParsedCommand result;
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);

  std::vector<MciToken> tokens;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    MciToken token;
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) {
        result.error = Code(MciErr::NoClosingQuote);
        return result;
      }
      token.text = std::string(text.substr(i + 1, close - i - 1));
      token.quoted = true;
      i = close + 1;
      if (i < text.size() && !IsBlank(text[i])) {
        result.error = Code(MciErr::ExtraCharacters);
        return result;
      }
    } else {
      const std::size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) {
        if (text[i] == '"') {
          result.error = Code(MciErr::ExtraCharacters);
          return result;
        }
        ++i;
      }
      token.text = std::string(text.substr(start, i - start));
    }
    tokens.push_back(std::move(token));
  }

  if (tokens.empty()) {
    result.error = Code(MciErr::MissingCommandString);
    return result;
  }
  if (tokens.front().quoted) {
    result.error = Code(MciErr::UnrecognizedCommand);
    return result;
  }
  if (tokens.size() < 2) {
    result.error = Code(MciErr::MissingDeviceName);
    return result;
  }
  result.command.verb = AsciiLower(tokens[0].text);
  result.command.device = std::move(tokens[1]);
  result.command.args.assign(std::make_move_iterator(tokens.begin() + 2),
                             std::make_move_iterator(tokens.end()));
  return result;
}

}  // namespace music
