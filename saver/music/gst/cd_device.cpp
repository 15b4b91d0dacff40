#include "saver/music/gst/cd_device.h"

#include <algorithm>

#include "saver/music/gst/cd_toc_reader.h"
#include "saver/music/mci_errors.h"

namespace music {
namespace {

GstClockTime SectorsToTime(std::int64_t sectors) {
  return static_cast<GstClockTime>(sectors) * GST_SECOND / kSectorsPerSecond;
}

}  // namespace

CdDevice::CdDevice(std::string drive, std::string sink)
    : drive_(std::move(drive)), sink_(std::move(sink)) {
  // Read at open: the disc in the drive now is the one the device reports.
  Toc();
}

CdDevice::~CdDevice() { DropPipeline(); }

void CdDevice::ForgetDisc() {
  DropPipeline();
  state_ = State::Stopped;
  toc_.reset();
  watch_.reset();
  rereadToc_ = false;
  stoppedAt_ = 0;
}

void CdDevice::CheckDisc() {
  if (toc_ && (rereadToc_ || (watch_ && watch_->Changed()))) ForgetDisc();
}

const CdToc* CdDevice::Toc() {
  if (!toc_) {
    toc_ = ReadCdToc(drive_);
    if (toc_) {
      stoppedAt_ = toc_->AudioStart();
      watch_ = std::make_unique<DiscWatch>(drive_);
    }
  }
  return toc_ ? &*toc_ : nullptr;
}

bool CdDevice::EnsurePipeline() {
  if (pipeline_) return true;
  if (!EnsureGstreamer()) return false;
  GstElement* source = gst_element_factory_make("cdiocddasrc", nullptr);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* sink = MakeAudioSink(sink_);
  pipeline_ = gst_pipeline_new(nullptr);
  if (!source || !convert || !resample || !sink || !pipeline_) {
    for (GstElement* e : {source, convert, resample, sink, pipeline_}) {
      if (e) gst_object_unref(e);
    }
    pipeline_ = nullptr;
    return false;
  }
  gst_object_ref_sink(pipeline_);
  g_object_set(source, "device", drive_.c_str(), nullptr);
  gst_util_set_object_arg(G_OBJECT(source), "mode", "continuous");
  gst_bin_add_many(GST_BIN(pipeline_), source, convert, resample, sink, nullptr);
  flags_.ended = false;
  flags_.failed = false;
  WatchBus(pipeline_, &flags_);
  if (!gst_element_link_many(source, convert, resample, sink, nullptr)) {
    DropPipeline();
    return false;
  }
  gst_element_set_state(pipeline_, GST_STATE_PAUSED);
  if (!WaitForState(pipeline_, kPrerollWaitSeconds) || flags_.failed) {
    DropPipeline();
    return false;
  }
  return true;
}

void CdDevice::DropPipeline() {
  if (!pipeline_) return;
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(pipeline_);
  pipeline_ = nullptr;
}

std::uint32_t CdDevice::Play(std::optional<std::int32_t> from, std::optional<std::int32_t> to) {
  const CdToc* toc = Toc();
  if (!toc) return Code(MciErr::DeviceNotReady);
  if (!toc->HasAudio()) return Code(MciErr::Hardware);
  std::int32_t start = from ? *from : CurrentSector();
  // A disc that has played to its end starts again from its first audio
  // track; playing on from the lead-out would be silence that never ends.
  if (!from && (start >= toc->AudioEnd() || start < toc->AudioStart())) start = toc->AudioStart();
  // The stream holds the audio tracks only: a data track cannot be played.
  if (!toc->IsPlayableStart(start)) return Code(MciErr::OutOfRange);
  const std::int32_t end = to ? *to : toc->AudioEnd();
  if (end < start || end > toc->AudioEnd()) return Code(MciErr::OutOfRange);
  if (!EnsurePipeline()) return Code(MciErr::Hardware);

  // The stream's time 0 is the first audio track's start.
  const std::int32_t base = toc->AudioStart();
  const bool seeked = gst_element_seek(
      pipeline_, 1.0, GST_FORMAT_TIME, static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
      GST_SEEK_TYPE_SET, SectorsToTime(start - base), GST_SEEK_TYPE_SET, SectorsToTime(end - base));
  // Only now: the old stream's end may still be posted while it is flushed.
  flags_.ended = false;
  if (!seeked || gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    DropPipeline();
    return Code(MciErr::Hardware);
  }
  playEnd_ = end;
  // Until the new stream answers position queries, it stands at its start.
  stoppedAt_ = start;
  state_ = State::Playing;
  return 0;
}

std::uint32_t CdDevice::Stop() {
  if (!Toc()) return Code(MciErr::DeviceNotReady);
  stoppedAt_ = CurrentSector();
  DropPipeline();
  state_ = State::Stopped;
  return 0;
}

std::uint32_t CdDevice::Pause() {
  if (!Toc()) return Code(MciErr::DeviceNotReady);
  if (state_ == State::Playing && pipeline_) {
    gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    state_ = State::Paused;
  }
  return 0;
}

std::uint32_t CdDevice::Resume() {
  if (!Toc()) return Code(MciErr::DeviceNotReady);
  if (state_ == State::Paused && pipeline_) {
    gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    state_ = State::Playing;
  }
  return 0;
}

void CdDevice::NoteEnd() {
  if (state_ == State::Stopped || !(flags_.ended || flags_.failed)) return;
  // A source that fails ends its stream too: the failure counts first.
  if (flags_.failed) {
    if (toc_) stoppedAt_ = StreamSector(*toc_);
    rereadToc_ = true;
  } else {
    stoppedAt_ = playEnd_;
  }
  DropPipeline();
  state_ = State::Stopped;
}

std::string CdDevice::Mode() {
  if (!Toc()) return "not ready";
  NoteEnd();
  return ModeWord(state_);
}

std::int32_t CdDevice::CurrentSector() {
  const CdToc* toc = Toc();
  if (!toc) return 0;
  NoteEnd();
  return StreamSector(*toc);
}

std::int32_t CdDevice::StreamSector(const CdToc& toc) {
  if (state_ == State::Stopped || !pipeline_) return stoppedAt_;
  gint64 position = 0;
  if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0) {
    return stoppedAt_;
  }
  const std::int64_t sector = toc.AudioStart() + position * kSectorsPerSecond / GST_SECOND;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sector, toc.AudioStart(), toc.AudioEnd()));
}

}  // namespace music
