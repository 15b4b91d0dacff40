#pragma once
// A private PulseAudio daemon with one null sink, for tests that listen to
// what a program plays: the program plays into it through GStreamer's
// autoaudiosink, and a recorder takes the sink's monitor.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class PulseServer {
 public:
  // Sets PULSE_SERVER for this process and its children.
  PulseServer();
  ~PulseServer();
  PulseServer(const PulseServer&) = delete;
  PulseServer& operator=(const PulseServer&) = delete;
  bool Running() const { return ready_; }

  // Lets programs of other users (a daemon run as nobody) play into it.
  void OpenToAllUsers();
  // The streams playing into it now (sink inputs); -1 when it cannot tell.
  int Streams();

  // Records the null sink's monitor (S16LE, stereo, 44.1 kHz) until Stop.
  bool StartRecording();
  std::vector<std::int16_t> StopRecording();

 private:
  pid_t daemon_ = -1;
  pid_t recorder_ = -1;
  bool ready_ = false;
  std::string dir_;
};

}  // namespace testsupport
