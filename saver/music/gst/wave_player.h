#pragma once
// PlaySoundA for WAV files: one sound at a time, looped without a gap.
#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "saver/music/gst/gst_setup.h"

namespace music {

class WavePlayer {
 public:
  explicit WavePlayer(std::string sink) : sink_(std::move(sink)) {}
  ~WavePlayer() { Stop(); }
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;

  bool Play(std::optional<std::string_view> sound, std::uint32_t flags);

 private:
  void Stop();
  static void OnAboutToFinish(GstElement* playbin, gpointer self);

  std::string sink_;
  GstElement* playbin_ = nullptr;
  // What the pipeline's own threads use: the bus's record and the loop's
  // next round, queued from a streaming thread. A stop waits for a round
  // being queued, and none is queued after it.
  struct Stream {
    StreamFlags flags;
    std::string uri;
    std::mutex loopLock;
    bool stopping = false;
  };
  std::shared_ptr<Stream> stream_;
};

// waveOutGetNumDevs: the audio sinks GStreamer's device monitor knows.
std::uint32_t CountAudioOutputDevices();

}  // namespace music
