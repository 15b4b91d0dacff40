#pragma once
// The "cdaudio" device: table of contents from libcdio, sound from
// cdiocddasrc reading the whole disc as one stream.
#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "saver/music/gst/device_state.h"
#include "saver/music/gst/cd_time.h"
#include "saver/music/gst/cd_toc_reader.h"
#include "saver/music/gst/gst_setup.h"

namespace music {

class CdDevice {
 public:
  // `drive` is a drive or disc image; empty means there is no drive.
  CdDevice(std::string drive, std::string sink);
  ~CdDevice();
  CdDevice(const CdDevice&) = delete;
  CdDevice& operator=(const CdDevice&) = delete;

  CdTimeFormat timeFormat = CdTimeFormat::Msf;

  // Forgets the disc when it has changed or the drive has failed, so that
  // the next Toc() reads it again. Called before each command: a TOC handed
  // out stays valid until the next call.
  void CheckDisc();
  // The disc's contents, read when first needed; null without a disc.
  const CdToc* Toc();

  // Sector positions; `to` absent plays to the end of the disc.
  std::uint32_t Play(std::optional<std::int32_t> from, std::optional<std::int32_t> to);
  std::uint32_t Stop();
  std::uint32_t Pause();
  std::uint32_t Resume();

  std::string Mode();
  std::int32_t CurrentSector();

 private:
  using State = DeviceState;
  bool EnsurePipeline();
  void DropPipeline();
  void NoteEnd();
  void ForgetDisc();
  std::int32_t StreamSector(const CdToc& toc);

  std::string drive_;
  std::string sink_;
  std::optional<CdToc> toc_;
  std::unique_ptr<DiscWatch> watch_;
  bool rereadToc_ = false;  // the pipeline failed: the disc may be gone
  GstElement* pipeline_ = nullptr;
  StreamFlags flags_;
  State state_ = State::Stopped;
  std::int32_t stoppedAt_ = 0;
  std::int32_t playEnd_ = 0;
};

}  // namespace music
