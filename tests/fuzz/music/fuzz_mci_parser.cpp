// libFuzzer target: any bytes as an MCI command string, and every argument
// as a CD position in each time format.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "saver/music/gst/cd_time.h"
#include "saver/music/gst/command_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const music::ParsedCommand parsed = music::ParseMciCommand(text);
  if (parsed.error != 0) return 0;

  music::CdToc toc;
  toc.trackStart = {0, 150, 375};
  toc.leadOut = 675;
  for (const music::MciToken& token : parsed.command.args) {
    for (auto format : {music::CdTimeFormat::Tmsf, music::CdTimeFormat::Msf, music::CdTimeFormat::Milliseconds}) {
      const music::CdPositionResult position = music::ParseCdPosition(toc, format, token.text);
      if (position.error == 0) {
        if (position.sector < toc.trackStart.front() || position.sector > toc.leadOut) __builtin_trap();
        (void)music::FormatCdPosition(toc, format, position.sector);
      }
    }
  }
  return 0;
}
