#pragma once
// Our own MCI command-string interpreter: "MPEGVideo" file devices on
// GStreamer and the "cdaudio" device on libcdio and cdiocddasrc.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "saver/music/gst/cd_device.h"
#include "saver/music/gst/command_parser.h"
#include "saver/music/gst/file_device.h"

namespace music {

class MciInterpreter {
 public:
  // `audioSink` is a GStreamer launch description of where sound goes;
  // `cdDrive` is the drive or disc image of "cdaudio" (absent: the drive
  // libcdio calls the default one, empty: no drive).
  explicit MciInterpreter(std::string audioSink = "autoaudiosink",
                          std::optional<std::string> cdDrive = std::nullopt);
  ~MciInterpreter();

  // Runs one command; returns 0 and the reply text, or the MCI error code.
  std::uint32_t Execute(std::string_view command, std::string& reply);

  const std::string& audioSink() const { return audioSink_; }

 private:
  std::uint32_t Open(const MciCommand& command);
  std::uint32_t Close(const std::string& name);
  std::uint32_t RunFile(FileDevice& device, const MciCommand& command, std::string& reply);
  std::uint32_t RunCd(CdDevice& device, const MciCommand& command, std::string& reply);

  std::string audioSink_;
  std::optional<std::string> cdDrive_;
  std::map<std::string, std::unique_ptr<FileDevice>> files_;
  std::string cdName_;
  std::unique_ptr<CdDevice> cd_;
};

}  // namespace music
