#pragma once
// GStreamer start-up and the pieces every player shares.
#include <gst/gst.h>

#include <atomic>
#include <string>

namespace music {

// Initialises GStreamer once; false when it cannot be used.
bool EnsureGstreamer();

// A sink bin made from a launch description such as "autoaudiosink" or
// "wavenc ! filesink location=out.wav"; null when the description is bad.
GstElement* MakeAudioSink(const std::string& description);

// End and failure of a pipeline, recorded from its bus as the messages are
// posted; every message is then dropped, so nothing piles up unread.
struct StreamFlags {
  std::atomic<bool> ended{false};
  std::atomic<bool> failed{false};
};
void WatchBus(GstElement* pipeline, StreamFlags* flags);

// Waits for a state change to finish; false on failure or after `seconds`.
bool WaitForState(GstElement* pipeline, int seconds);

// How long an open or play waits for its pipeline to preroll. It runs on
// the saver's only thread, between timer ticks: a file or disc that takes
// longer is treated as one that cannot be played rather than freezing the
// program. Prerolling a local file or disc image takes well under a second.
inline constexpr int kPrerollWaitSeconds = 2;

}  // namespace music
