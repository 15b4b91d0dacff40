#pragma once
// An audio sink that notes when sound reaches it, for the timing benchmarks.
// Played at the clock's pace like a real sound card; its factory name is
// "tovarelprobesink" once registered.
#include <cstdint>

namespace music::bench {

// Registers the element with GStreamer; false when GStreamer cannot start.
bool RegisterProbeSink();

// Steady-clock nanoseconds; 0 means "not yet".
struct ProbeTimes {
  std::int64_t firstBuffer = 0;  // first buffer rendered since the last Arm()
  std::int64_t soundEnd = 0;     // end of the last buffer, once the stream has ended
};

// Forgets the first buffer and the end, and waits for new ones.
void Arm();
ProbeTimes Times();
std::int64_t NowNs();

}  // namespace music::bench
