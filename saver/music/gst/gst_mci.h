#pragma once
// The music seam on Linux: MCI strings go to our interpreter, WAV files to
// a looping player, the device count to GStreamer's device monitor.
#include "saver/music/mci.h"
#include "saver/music/gst/mci_interpreter.h"
#include "saver/music/gst/wave_player.h"

namespace music {

class GstMci : public Mci {
 public:
  explicit GstMci(std::string audioSink = "autoaudiosink",
                  std::optional<std::string> cdDrive = std::nullopt)
      : interpreter_(audioSink, std::move(cdDrive)), wave_(audioSink) {}

  std::uint32_t SendString(std::string_view command, std::span<char> reply) override;
  bool GetErrorString(std::uint32_t code, std::span<char> buffer) override;
  bool PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) override;
  std::uint32_t WaveOutDeviceCount() override;

 private:
  MciInterpreter interpreter_;
  WavePlayer wave_;
};

}  // namespace music
