#pragma once
// Splits an MCI command string into verb, device and arguments.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace music {

struct MciToken {
  std::string text;     // quotes removed
  bool quoted = false;  // quoted text is a value, never a keyword
};

struct MciCommand {
  std::string verb;  // lower case
  MciToken device;
  std::vector<MciToken> args;
};

struct ParsedCommand {
  std::uint32_t error = 0;  // MCI error code, 0 when `command` is valid
  MciCommand command;
};

// Tokens are separated by blanks; text in double quotes is one token. A quote
// that is not closed, is followed by anything but a blank, or appears inside
// an unquoted token is a parse error. The command ends at a NUL, as the
// C string handed to mciSendString would.
ParsedCommand ParseMciCommand(std::string_view text);

// ASCII lower case; MCI keywords and device names ignore case.
std::string AsciiLower(std::string_view text);

// True when the token is the keyword `word` (unquoted, any case).
bool IsKeyword(const MciToken& token, std::string_view word);

}  // namespace music
