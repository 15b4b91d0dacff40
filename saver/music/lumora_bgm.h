#pragma once
// Lumora_BGM: the background music of a saver run (MP3 file, WAV file or an
// audio CD), kept going by the run's timers calling the watch operations.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "saver/music/mci.h"

namespace music {

class Lumora_BGM {
 public:
  static constexpr std::int16_t True = -1;
  static constexpr std::int16_t False = 0;

  explicit Lumora_BGM(Mci& mci) : mci_(mci) {}

  void OpenCd();
  void PollCd();
  void StopCd();

  void PlayMp3();
  bool IsMp3Playing();
  void RepeatMp3();
  void StopMp3();

  void PlayWav();
  void StopWav();

  std::int32_t SendMci(std::string_view command, std::string& reply);
  std::string QueryMci(std::string_view command);
  std::int32_t PlayRange(std::string_view device, std::string_view fromPos,
                         std::string_view toPos);

  // Module variables.
  std::int16_t CdPolling = False;
  std::string MciReply;

  // The fixed buffers, NUL-filled at the start, each handed to MCI with its
  // own capacity as the reply length.
  std::array<char, 255> cdModeBuffer{};
  std::array<char, 512> mciReplyBuffer{};
  std::array<char, 256> mciErrorBuffer{};
  std::array<char, 30> mp3ModeBuffer{};

 private:
  void PollCdSteps();

  Mci& mci_;
};

}  // namespace music
