// libFuzzer target: any bytes as up to eight MCI command strings, one a
// line, run by a fresh interpreter with a fake sound sink and no CD drive.
// A failed command leaves no reply, and every code it returns has a text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "saver/music/gst/gst_setup.h"
#include "saver/music/gst/mci_error_text.h"
#include "saver/music/gst/mci_interpreter.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // GStreamer's registry and types live for the whole process.
  music::EnsureGstreamer();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  music::MciInterpreter interpreter("fakesink", std::string());
  for (int count = 0; count < 8 && !text.empty(); ++count) {
    const std::size_t end = text.find('\n');
    const std::string_view command = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::string reply;
    const std::uint32_t code = interpreter.Execute(command, reply);
    if (code != 0 && (!reply.empty() || !music::MciErrorText(code))) __builtin_trap();
  }
  return 0;
}
