#pragma once
// Sound fixtures made at test time (sox, lame) and analysis of captured PCM.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace music::test {

inline constexpr int kRate = 44100;

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Runs a shell command; true when it exits with 0.
bool Shell(const std::string& command);
std::string Quote(const std::string& text);

// A stereo 16-bit 44.1 kHz sine tone.
bool MakeToneWav(const std::string& path, double seconds, int hertz);
bool MakeToneRaw(const std::string& path, double seconds, int hertz);
bool WavToMp3(const std::string& wav, const std::string& mp3);

// A CUE/BIN disc image of 2-second tracks (150 sectors) in `dir`: disc.cue,
// disc.bin, and each track's sectors as t1.raw, t2.raw... A tone of 0 makes
// a MODE1 data track of zeros.
bool MakeDiscImage(const TempDir& dir, const std::vector<int>& tones);

// A sink description that writes what it is given as raw S16LE stereo
// 44.1 kHz at playback speed, into files `prefix`-00000.raw, -00001.raw...
// (a new one after every seek: filesink would empty its file on a flush).
std::string CaptureSink(const std::string& prefix);
// All that a capture sink wrote, in order, and the same part by part.
std::vector<std::int16_t> ReadCapture(const std::string& prefix);
std::vector<std::vector<std::int16_t>> ReadCaptureParts(const std::string& prefix);

// Interleaved stereo samples of a raw file, or of a WAV file's data chunk.
std::vector<std::int16_t> ReadRaw(const std::string& path);
std::vector<std::int16_t> ReadWavData(const std::string& path);

double Rms(std::span<const std::int16_t> interleaved);
// Frequency of a pure tone from the zero crossings of the left channel.
double ToneFrequency(std::span<const std::int16_t> interleaved);
double Seconds(std::span<const std::int16_t> interleaved);

// Polls `done` until it is true or `seconds` have passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, double seconds);

}  // namespace music::test
