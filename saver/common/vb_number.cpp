#include "saver/common/vb_number.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace common {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Scan {
  size_t length = 0;  // bytes of text that form the number
  bool found = false;
  bool negative = false;
  std::string normalized;  // digits, '.', 'e', exponent sign: from_chars input
  bool negativeExponent = false;
};

// Reads sign, mantissa and exponent starting at text[0].
Scan ScanNumber(std::string_view text) {
  Scan scan;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    scan.negative = text[i] == '-';
    ++i;
  }
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    scan.normalized += text[i++];
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    size_t dot = i++;
    bool fraction = false;
    std::string tail = ".";
    while (i < text.size() && IsDigit(text[i])) {
      tail += text[i++];
      fraction = true;
    }
    if (fraction) {
      if (!digits) scan.normalized += '0';
      scan.normalized += tail;
      digits = true;
    } else if (!digits) {
      i = dot;  // a lone point is no number
    }
  }
  if (!digits) return scan;
  scan.found = true;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negativeExponent = text[j] == '-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      scan.normalized += negativeExponent ? "e-" : "e";
      while (j < text.size() && IsDigit(text[j])) scan.normalized += text[j++];
      scan.negativeExponent = negativeExponent;
      i = j;
    }
  }
  scan.length = i;
  return scan;
}

std::optional<double> Evaluate(const Scan& scan) {
  double value = 0;
  const char* first = scan.normalized.data();
  const char* last = first + scan.normalized.size();
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (!scan.negativeExponent) return std::nullopt;
    value = 0;  // too small to hold: it is zero
  } else if (ec != std::errc() || end != last) {
    return std::nullopt;
  }
  return scan.negative ? -value : value;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  Scan scan = ScanNumber(text);
  if (!scan.found || scan.length != text.size()) return std::nullopt;
  return Evaluate(scan);
}

std::optional<std::int16_t> ReadInteger16(std::string_view text) {
  std::optional<double> value = ReadNumber(text);
  if (!value) return std::nullopt;
  double whole = std::floor(*value);
  if (whole < std::numeric_limits<std::int16_t>::min() ||
      whole > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(whole);
}

double ReadLeadingNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  Scan scan = ScanNumber(text);
  if (!scan.found) return 0;
  return Evaluate(scan).value_or(0);
}

std::optional<std::int32_t> RoundToInteger32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::nearbyint(value);  // default rounding mode: half to even
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::string WriteSigned(std::int32_t value) {
  std::string text = std::to_string(value);
  if (value >= 0) text.insert(text.begin(), ' ');
  return text;
}

}  // namespace common
