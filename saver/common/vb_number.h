#pragma once
// Number conversions with the rules of the language the saver was first
// written in: text to number, integer parts, rounding, and text with a sign
// position. A conversion that fails gives no value, so the caller's variable
// keeps what it had.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// The whole text as a number: blanks (space, tab) before and after, an
// optional sign, digits with an optional decimal point, an optional exponent
// (E or D). No value for anything else or for a number beyond double range.
std::optional<double> ReadNumber(std::string_view text);

// ReadNumber, then the integer part toward negative infinity (2.9 -> 2,
// -0.5 -> -1), as a 16-bit integer. No value outside -32768..32767.
std::optional<std::int16_t> ReadInteger16(std::string_view text);

// The longest number at the start of the text after leading blanks; reading
// stops at the first character that cannot continue it; 0 when there is none.
double ReadLeadingNumber(std::string_view text);

// Round half to even to a 32-bit integer; no value outside its range.
std::optional<std::int32_t> RoundToInteger32(double value);

// Decimal text with a sign position: " 2", " 0", "-3".
std::string WriteSigned(std::int32_t value);

}  // namespace common
