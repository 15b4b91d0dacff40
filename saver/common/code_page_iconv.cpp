#include "saver/common/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace common {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

enum class Outcome { Done, Invalid };

// Converts as much as it can; `in` is left at the first byte that failed.
Outcome Convert(iconv_t cd, std::string_view& in, std::string& out) {
  char buffer[1024];
  while (!in.empty()) {
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    in.remove_prefix(in.size() - inLeft);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      return Outcome::Invalid;  // EILSEQ or a sequence cut off at the end
    }
    if (rc != 0) return Outcome::Invalid;  // irreversible (substituted) conversion
  }
  char* outPtr = buffer;
  size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<size_t>(outPtr - buffer));
  return Outcome::Done;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return cd_; }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

std::optional<std::string> ConvertStrict(const char* to, const char* from, std::string_view text) {
  Converter converter(to, from);
  if (!converter.Ok()) return std::nullopt;
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  if (Convert(converter.Get(), text, out) != Outcome::Done) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return ConvertStrict("CP932", "UTF-8", utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return ConvertStrict("UTF-8", "CP932", cp932);
}

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  if (!converter.Ok()) return out;
  while (Convert(converter.Get(), cp932, out) == Outcome::Invalid) {
    if (cp932.empty()) break;
    out += kReplacement;
    cp932.remove_prefix(1);
    converter.Reset();
  }
  return out;
}

}  // namespace common
