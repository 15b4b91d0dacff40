#pragma once
// An "MPEGVideo" device: one compressed audio file on a playbin.
#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "saver/music/gst/device_state.h"
#include "saver/music/gst/gst_setup.h"

namespace music {

class FileDevice {
 public:
  // Opens and prerolls the file; returns 0 or the MCI error code.
  static std::uint32_t Open(const std::string& path, const std::string& sink,
                            std::unique_ptr<FileDevice>& device);
  ~FileDevice();
  FileDevice(const FileDevice&) = delete;
  FileDevice& operator=(const FileDevice&) = delete;

  // Positions in milliseconds; `from` absent plays on from where it stands.
  std::uint32_t Play(std::optional<std::int64_t> fromMs, std::optional<std::int64_t> toMs);
  std::uint32_t Stop();
  std::uint32_t Pause();
  std::uint32_t Resume();

  std::string Mode();
  std::int64_t PositionMs();
  std::int64_t LengthMs();

 private:
  using State = DeviceState;
  FileDevice() = default;
  bool Recover();

  GstElement* playbin_ = nullptr;
  StreamFlags flags_;
  State state_ = State::Stopped;
  bool limited_ = false;  // the stream stops at the last play's `to`
};

}  // namespace music
