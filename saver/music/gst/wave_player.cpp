#include "saver/music/gst/wave_player.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

#include "saver/music/mci.h"

namespace music {
namespace {

constexpr std::uint32_t kSndMemory = 0x0004;
constexpr std::uint32_t kSndAlias = 0x00010000;
constexpr std::uint32_t kSndResource = 0x00040004;
constexpr std::uint32_t kSndPurge = 0x0040;
constexpr int kPlayFlagAudio = 1 << 1;

// PlaySound plays RIFF WAVE files only.
bool IsWaveFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(path), error)) return false;
  std::ifstream in(path, std::ios::binary);
  std::array<char, 12> header{};
  if (!in.read(header.data(), header.size())) return false;
  return std::string_view(header.data(), 4) == "RIFF" && std::string_view(header.data() + 8, 4) == "WAVE";
}

}  // namespace

void WavePlayer::OnAboutToFinish(GstElement* playbin, gpointer data) {
  // Queue the same file again: playbin joins it on without a gap.
  auto* stream = static_cast<Stream*>(data);
  const std::lock_guard lock(stream->loopLock);
  if (stream->stopping) return;
  g_object_set(playbin, "uri", stream->uri.c_str(), nullptr);
}

void WavePlayer::Stop() {
  if (!playbin_) return;
  GstElement* playbin = std::exchange(playbin_, nullptr);
  std::shared_ptr<Stream> stream = std::move(stream_);
  {
    const std::lock_guard lock(stream->loopLock);
    stream->stopping = true;
  }
  // playbin may deadlock when it goes down just as it joins the next round
  // of a loop on: a pipeline not down in time is left behind, with what its
  // threads use, rather than the program held for ever.
  std::promise<void> down;
  std::future<void> downFuture = down.get_future();
  std::thread([playbin, stream, down = std::move(down)]() mutable {
    gst_element_set_state(playbin, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(playbin);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(playbin);
    down.set_value();
  }).detach();
  downFuture.wait_for(std::chrono::seconds(kPrerollWaitSeconds));
}

bool WavePlayer::Play(std::optional<std::string_view> sound, std::uint32_t flags) {
  if (flags & (kSndMemory | kSndAlias | kSndResource | kSndPurge)) {
    if (!sound) Stop();
    return !sound.has_value();
  }
  Stop();
  if (!sound) return true;
  const bool loop = (flags & SndLoop) != 0;
  const bool async = (flags & SndAsync) != 0;
  if (loop && !async) return false;
  const std::string path(*sound);
  if (!IsWaveFile(path) || !EnsureGstreamer()) return false;

  std::error_code error;
  const std::string absolute = std::filesystem::absolute(std::filesystem::path(path), error).string();
  gchar* uri = gst_filename_to_uri(absolute.c_str(), nullptr);
  if (!uri) return false;
  auto stream = std::make_shared<Stream>();
  stream->uri = uri;
  g_free(uri);

  playbin_ = gst_element_factory_make("playbin", nullptr);
  GstElement* audioSink = MakeAudioSink(sink_);
  if (!playbin_ || !audioSink) {
    if (audioSink) gst_object_unref(audioSink);
    if (playbin_) gst_object_unref(playbin_);
    playbin_ = nullptr;
    return false;
  }
  gst_object_ref_sink(playbin_);
  g_object_set(playbin_, "uri", stream->uri.c_str(), "flags", kPlayFlagAudio, "audio-sink", audioSink, nullptr);
  stream_ = stream;
  WatchBus(playbin_, &stream->flags);
  if (loop) g_signal_connect(playbin_, "about-to-finish", G_CALLBACK(OnAboutToFinish), stream.get());

  gst_element_set_state(playbin_, GST_STATE_PAUSED);
  if (!WaitForState(playbin_, kPrerollWaitSeconds) || stream->flags.failed) {
    Stop();
    return false;
  }
  gst_element_set_state(playbin_, GST_STATE_PLAYING);
  if (!async) {
    // Synchronous: return when the sound has played once, or give up when
    // its end has not come well after its length: a sink that never posts
    // it must not hold the caller for ever.
    gint64 duration = 0;
    if (!gst_element_query_duration(playbin_, GST_FORMAT_TIME, &duration) || duration < 0) duration = 0;
    const gint64 deadline = g_get_monotonic_time() + duration / GST_USECOND +
                            static_cast<gint64>(kPrerollWaitSeconds) * G_USEC_PER_SEC;
    while (!stream->flags.ended && !stream->flags.failed && g_get_monotonic_time() < deadline) g_usleep(10000);
    const bool played = stream->flags.ended && !stream->flags.failed;
    Stop();
    return played;
  }
  return true;
}

std::uint32_t CountAudioOutputDevices() {
  if (!EnsureGstreamer()) return 0;
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
  GList* devices = gst_device_monitor_get_devices(monitor);
  const std::uint32_t count = g_list_length(devices);
  g_list_free_full(devices, gst_object_unref);
  gst_object_unref(monitor);
  return count;
}

}  // namespace music
