#include "saver/music/gst/file_device.h"

#include <filesystem>
#include <system_error>

#include "saver/music/mci_errors.h"

namespace music {
namespace {

constexpr int kPlayFlagAudio = 1 << 1;

}  // namespace

std::uint32_t FileDevice::Open(const std::string& path, const std::string& sink,
                               std::unique_ptr<FileDevice>& device) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (path.empty() || !std::filesystem::is_regular_file(file, error)) return Code(MciErr::FileNotFound);
  if (std::filesystem::file_size(file, error) == 0 || error) return Code(MciErr::InvalidFile);
  if (!EnsureGstreamer()) return Code(MciErr::CannotLoadDriver);

  const std::string absolute = std::filesystem::absolute(file, error).string();
  gchar* uri = gst_filename_to_uri(absolute.c_str(), nullptr);
  if (!uri) return Code(MciErr::FileNotFound);

  std::unique_ptr<FileDevice> opened(new FileDevice);
  opened->playbin_ = gst_element_factory_make("playbin", nullptr);
  GstElement* audioSink = MakeAudioSink(sink);
  if (!opened->playbin_ || !audioSink) {
    if (audioSink) gst_object_unref(audioSink);
    g_free(uri);
    return Code(MciErr::CannotLoadDriver);
  }
  gst_object_ref_sink(opened->playbin_);
  g_object_set(opened->playbin_, "uri", uri, "flags", kPlayFlagAudio, "audio-sink", audioSink, nullptr);
  g_free(uri);
  WatchBus(opened->playbin_, &opened->flags_);

  gst_element_set_state(opened->playbin_, GST_STATE_PAUSED);
  gint audioStreams = 0;
  if (WaitForState(opened->playbin_, kPrerollWaitSeconds) && !opened->flags_.failed) {
    g_object_get(opened->playbin_, "n-audio", &audioStreams, nullptr);
  }
  if (audioStreams <= 0) return Code(MciErr::InvalidFile);
  device = std::move(opened);
  return 0;
}

FileDevice::~FileDevice() {
  if (!playbin_) return;
  gst_element_set_state(playbin_, GST_STATE_NULL);
  GstBus* bus = gst_element_get_bus(playbin_);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(playbin_);
}

bool FileDevice::Recover() {
  // An error stops the streaming threads for good; going through READY
  // starts the pipeline afresh, reading the file from its start.
  gst_element_set_state(playbin_, GST_STATE_READY);
  flags_.failed = false;
  flags_.ended = false;
  limited_ = false;
  gst_element_set_state(playbin_, GST_STATE_PAUSED);
  return WaitForState(playbin_, kPrerollWaitSeconds) && !flags_.failed;
}

std::uint32_t FileDevice::Play(std::optional<std::int64_t> fromMs, std::optional<std::int64_t> toMs) {
  if (flags_.failed && !Recover()) return Code(MciErr::Hardware);
  const std::int64_t length = LengthMs();
  // A length that cannot be told (0) does not limit the positions.
  if (length > 0 && ((fromMs && *fromMs > length) || (toMs && *toMs > length))) {
    return Code(MciErr::OutOfRange);
  }
  const std::int64_t from = fromMs ? *fromMs : PositionMs();
  if (toMs && *toMs < from) return Code(MciErr::OutOfRange);

  // A play without positions plays on, unless the last one ended at a `to`
  // limit: that limit is lifted, as the stop of a seek stays until replaced.
  if (fromMs || toMs || limited_) {
    const bool seeked = gst_element_seek(playbin_, 1.0, GST_FORMAT_TIME,
                                         static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                         GST_SEEK_TYPE_SET, from * GST_MSECOND, GST_SEEK_TYPE_SET,
                                         toMs ? *toMs * GST_MSECOND : GST_CLOCK_TIME_NONE);
    if (!seeked) return Code(MciErr::Hardware);
    // Only now: the old stream's end may still be posted while it is flushed.
    flags_.ended = false;
    limited_ = toMs.has_value();
  }
  if (gst_element_set_state(playbin_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    return Code(MciErr::Hardware);
  }
  state_ = State::Playing;
  return 0;
}

std::uint32_t FileDevice::Stop() {
  gst_element_set_state(playbin_, GST_STATE_PAUSED);
  state_ = State::Stopped;
  return 0;
}

std::uint32_t FileDevice::Pause() {
  if (state_ == State::Playing) {
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
    state_ = State::Paused;
  }
  return 0;
}

std::uint32_t FileDevice::Resume() {
  if (state_ != State::Paused) return 0;
  // Not through Play: a paused play keeps its `to` limit.
  if (gst_element_set_state(playbin_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    return Code(MciErr::Hardware);
  }
  state_ = State::Playing;
  return 0;
}

std::string FileDevice::Mode() {
  // Playbin stays PLAYING after the end of the stream: the end is the EOS.
  if (state_ == State::Playing && (flags_.ended || flags_.failed)) state_ = State::Stopped;
  return ModeWord(state_);
}

std::int64_t FileDevice::PositionMs() {
  gint64 position = 0;
  if (!gst_element_query_position(playbin_, GST_FORMAT_TIME, &position) || position < 0) return 0;
  return position / GST_MSECOND;
}

std::int64_t FileDevice::LengthMs() {
  gint64 duration = 0;
  if (!gst_element_query_duration(playbin_, GST_FORMAT_TIME, &duration) || duration < 0) return 0;
  return duration / GST_MSECOND;
}

}  // namespace music
