#include "bench/music/probe_sink.h"

#include <gst/base/gstbasesink.h>
#include <gst/gst.h>

#include <atomic>
#include <chrono>

#include "saver/music/gst/gst_setup.h"

namespace music::bench {
namespace {

std::atomic<std::int64_t> firstBuffer{0};
std::atomic<std::int64_t> soundEnd{0};
// Where the last rendered buffer's sound stops, in steady-clock time.
std::atomic<std::int64_t> lastBufferEnd{0};

}  // namespace

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Arm() {
  firstBuffer = 0;
  soundEnd = 0;
}

ProbeTimes Times() { return {firstBuffer.load(), soundEnd.load()}; }

}  // namespace music::bench

extern "C" {

struct TovarelProbeSink {
  GstBaseSink parent;
};
struct TovarelProbeSinkClass {
  GstBaseSinkClass parentClass;
};

G_DEFINE_TYPE(TovarelProbeSink, tovarel_probe_sink, GST_TYPE_BASE_SINK)

static GstFlowReturn tovarel_probe_sink_render(GstBaseSink*, GstBuffer* buffer) {
  // Synchronised: render runs when the buffer's time comes on the clock.
  const std::int64_t now = music::bench::NowNs();
  std::int64_t expected = 0;
  music::bench::firstBuffer.compare_exchange_strong(expected, now);
  const GstClockTime duration = GST_BUFFER_DURATION(buffer);
  music::bench::lastBufferEnd = now + (GST_CLOCK_TIME_IS_VALID(duration) ? static_cast<std::int64_t>(duration) : 0);
  return GST_FLOW_OK;
}

static gboolean tovarel_probe_sink_event(GstBaseSink* sink, GstEvent* event) {
  if (GST_EVENT_TYPE(event) == GST_EVENT_EOS) {
    const std::int64_t now = music::bench::NowNs();
    const std::int64_t end = music::bench::lastBufferEnd.load();
    music::bench::soundEnd = end > now ? end : now;
  }
  return GST_BASE_SINK_CLASS(tovarel_probe_sink_parent_class)->event(sink, event);
}

static void tovarel_probe_sink_class_init(TovarelProbeSinkClass* klass) {
  static GstStaticPadTemplate sinkTemplate =
      GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);
  GstElementClass* element = GST_ELEMENT_CLASS(klass);
  gst_element_class_add_static_pad_template(element, &sinkTemplate);
  gst_element_class_set_static_metadata(element, "Timing probe sink", "Sink/Audio",
                                        "Notes when sound reaches the sink", "Tovarel");
  GstBaseSinkClass* base = GST_BASE_SINK_CLASS(klass);
  base->render = tovarel_probe_sink_render;
  base->event = tovarel_probe_sink_event;
}

static void tovarel_probe_sink_init(TovarelProbeSink* sink) {
  gst_base_sink_set_sync(GST_BASE_SINK(sink), TRUE);
}

}  // extern "C"

namespace music::bench {

bool RegisterProbeSink() {
  if (!EnsureGstreamer()) return false;
  static const bool registered =
      gst_element_register(nullptr, "tovarelprobesink", GST_RANK_NONE, tovarel_probe_sink_get_type()) != FALSE;
  return registered;
}

}  // namespace music::bench
