#include "gst_mci.h"

#include <algorithm>

#include "mci_error_text.h"

namespace music {

void WriteReply(std::string_view text, std::span<char> buffer) {
  if (buffer.empty()) return;
  const std::size_t length = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.data(), length, buffer.data());
  buffer[length] = '\0';
}

std::uint32_t GstMci::SendString(std::string_view command, std::span<char> reply) {
  std::string text;
  const std::uint32_t code = interpreter_.Execute(command, text);
  if (code == 0) WriteReply(text, reply);
  return code;
}

bool GstMci::GetErrorString(std::uint32_t code, std::span<char> buffer) {
  const auto text = MciErrorText(code);
  if (!text || buffer.empty()) return false;
  WriteReply(*text, buffer);
  return true;
}

bool GstMci::PlaySound(std::optional<std::string_view> sound, std::uint32_t flags) {
  return wave_.PlaySound(sound, flags);
}

std::uint32_t GstMci::WaveOutDeviceCount() { return CountAudioOutputDevices(); }

Mci& SystemMci() {
  static GstMci mci;
  return mci;
}

}  // namespace music
