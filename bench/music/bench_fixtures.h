#pragma once
// Sound files for the benchmarks, made with sox and lame in a scratch folder.
#include <string>

namespace music::bench {

class Fixtures {
 public:
  Fixtures();
  ~Fixtures();
  Fixtures(const Fixtures&) = delete;
  Fixtures& operator=(const Fixtures&) = delete;

  bool Ready() const { return ready_; }
  std::string File(const std::string& name) const { return dir_ + "/" + name; }

  // A stereo 44.1 kHz tone as MP3.
  bool MakeMp3(const std::string& name, double seconds);
  // A CUE/BIN disc image of `tracks` audio tracks, each `seconds` long
  // (whole seconds keep the tracks on 2352-byte sector bounds).
  bool MakeDisc(const std::string& cueName, int tracks, int seconds);

 private:
  std::string dir_;
  bool ready_ = false;
};

// The sink every benchmark plays into: converted to CD format, then timed.
std::string ProbeSinkDescription();

}  // namespace music::bench
