#include "tests/saver/music/audio_fixtures.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace music::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tovarel-music-XXXXXX").string();
  if (char* made = mkdtemp(pattern.data())) path_ = made;
}

TempDir::~TempDir() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

bool MakeToneWav(const std::string& path, double seconds, int hertz) {
  return Shell("sox -n -r 44100 -c 2 -b 16 -e signed " + Quote(path) + " synth " + std::to_string(seconds) +
               " sine " + std::to_string(hertz) + " vol 0.5");
}

bool MakeToneRaw(const std::string& path, double seconds, int hertz) {
  return Shell("sox -n -r 44100 -c 2 -b 16 -e signed -L -t raw " + Quote(path) + " synth " +
               std::to_string(seconds) + " sine " + std::to_string(hertz) + " vol 0.5");
}

bool WavToMp3(const std::string& wav, const std::string& mp3) {
  return Shell("lame --quiet -b 192 " + Quote(wav) + " " + Quote(mp3));
}

bool MakeDiscImage(const TempDir& dir, const std::vector<int>& tones) {
  std::ofstream bin(dir.File("disc.bin"), std::ios::binary);
  std::string cue = "FILE \"disc.bin\" BINARY\n";
  for (std::size_t i = 0; i < tones.size(); ++i) {
    const int track = static_cast<int>(i) + 1;
    const std::string raw = dir.File("t" + std::to_string(track) + ".raw");
    if (tones[i] == 0) {
      std::ofstream(raw, std::ios::binary) << std::string(150 * 2352, '\0');
    } else if (!MakeToneRaw(raw, 2.0, tones[i])) {
      return false;
    }
    std::ifstream in(raw, std::ios::binary);
    bin << in.rdbuf();
    char index[64];
    std::snprintf(index, sizeof index, "  TRACK %02d %s\n    INDEX 01 %02d:%02d:00\n", track,
                  tones[i] == 0 ? "MODE1/2352" : "AUDIO", 2 * static_cast<int>(i) / 60, 2 * static_cast<int>(i) % 60);
    cue += index;
  }
  std::ofstream(dir.File("disc.cue")) << cue;
  return static_cast<bool>(bin);
}

std::string CaptureSink(const std::string& prefix) {
  return "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! "
         "multifilesink sync=true next-file=discont location=\"" + prefix + "-%05d.raw\"";
}

namespace {

std::string CapturePart(const std::string& prefix, int index) {
  char number[16];
  std::snprintf(number, sizeof number, "-%05d.raw", index);
  return prefix + number;
}

}  // namespace

namespace {

std::vector<char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::int16_t> ToSamples(const char* data, std::size_t size) {
  std::vector<std::int16_t> samples(size / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(data[2 * i]) |
                                           (static_cast<unsigned char>(data[2 * i + 1]) << 8));
  }
  return samples;
}

}  // namespace

std::vector<std::int16_t> ReadRaw(const std::string& path) {
  const std::vector<char> bytes = ReadBytes(path);
  return ToSamples(bytes.data(), bytes.size());
}

std::vector<std::vector<std::int16_t>> ReadCaptureParts(const std::string& prefix) {
  std::vector<std::vector<std::int16_t>> parts;
  for (int i = 0; std::filesystem::exists(CapturePart(prefix, i)); ++i) {
    parts.push_back(ReadRaw(CapturePart(prefix, i)));
  }
  return parts;
}

std::vector<std::int16_t> ReadCapture(const std::string& prefix) {
  std::vector<std::int16_t> all;
  for (const auto& part : ReadCaptureParts(prefix)) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<std::int16_t> ReadWavData(const std::string& path) {
  const std::vector<char> bytes = ReadBytes(path);
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + at + 4, 4);
    if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
      const std::size_t length = std::min<std::size_t>(size, bytes.size() - at - 8);
      return ToSamples(bytes.data() + at + 8, length);
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

double Rms(std::span<const std::int16_t> samples) {
  if (samples.empty()) return 0;
  double sum = 0;
  for (std::int16_t s : samples) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / samples.size());
}

double Seconds(std::span<const std::int16_t> samples) { return samples.size() / 2.0 / kRate; }

double ToneFrequency(std::span<const std::int16_t> samples) {
  int crossings = 0;
  for (std::size_t i = 2; i + 1 < samples.size(); i += 2) {
    if ((samples[i - 2] < 0) != (samples[i] < 0)) ++crossings;
  }
  const double seconds = Seconds(samples);
  return seconds > 0 ? crossings / 2.0 / seconds : 0;
}

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace music::test
