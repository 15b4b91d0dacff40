#include "saver/music/gst/gst_mci.h"

#include "saver/music/gst/mci_error_text.h"
#include "saver/music/reply_buffer.h"

namespace music {

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

bool GstMci::PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) {
  return wave_.Play(sound, flags);
}

std::uint32_t GstMci::WaveOutDeviceCount() { return CountAudioOutputDevices(); }

}  // namespace music
