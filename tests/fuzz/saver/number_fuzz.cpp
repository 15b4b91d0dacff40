// Number text from anywhere: no crash, and whatever converts writes back and
// reads as the same value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "saver/common/vb_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<double> number = common::ReadNumber(text);
  std::optional<std::int16_t> whole = common::ReadInteger16(text);
  if (whole) {
    if (!number || std::floor(*number) != *whole) std::abort();
    if (common::ReadInteger16(common::WriteSigned(*whole)) != whole) std::abort();
  }
  double leading = common::ReadLeadingNumber(text);
  if (number && std::isfinite(*number) && *number != leading) {
    // A whole-text number is also the leading number, unless blanks follow
    // it; those are allowed by both readers.
    std::abort();
  }
  if (std::optional<std::int32_t> rounded = common::RoundToInteger32(leading)) {
    if (std::fabs(*rounded - leading) > 0.5) std::abort();
  }
  return 0;
}
