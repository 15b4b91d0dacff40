#pragma once
// The music seam on Windows: winmm's MCI, PlaySoundA and waveOutGetNumDevs.
#include "saver/music/mci.h"

namespace music {

class WinmmMci : public Mci {
 public:
  std::uint32_t SendString(std::string_view command, std::span<char> reply) override;
  bool GetErrorString(std::uint32_t code, std::span<char> buffer) override;
  bool PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) override;
  std::uint32_t WaveOutDeviceCount() override;
};

}  // namespace music
