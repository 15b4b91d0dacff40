#include "bench/music/bench_fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace music::bench {
namespace {

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Tone(double seconds, int hertz) {
  return " synth " + std::to_string(seconds) + " sine " + std::to_string(hertz) + " vol 0.5";
}

std::string CueTime(int seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:00", seconds / 60, seconds % 60);
  return text;
}

}  // namespace

Fixtures::Fixtures() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tovarel-music-bench-XXXXXX").string();
  if (char* made = mkdtemp(pattern.data())) dir_ = made;
  ready_ = !dir_.empty() && Shell("command -v sox") && Shell("command -v lame");
}

Fixtures::~Fixtures() {
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

bool Fixtures::MakeMp3(const std::string& name, double seconds) {
  const std::string wav = File(name + ".wav");
  const bool made = Shell("sox -n -r 44100 -c 2 -b 16 -e signed " + Quote(wav) + Tone(seconds, 440)) &&
                    Shell("lame --quiet -b 192 " + Quote(wav) + " " + Quote(File(name)));
  std::error_code ignored;
  std::filesystem::remove(wav, ignored);
  return made;
}

bool Fixtures::MakeDisc(const std::string& cueName, int tracks, int seconds) {
  // libcdio does not find a BIN named after the whole CUE name ("x.cue.bin").
  const std::string bin = std::filesystem::path(cueName).stem().string() + ".bin";
  std::string cue = "FILE \"" + bin + "\" BINARY\n";
  std::ofstream image(File(bin), std::ios::binary);
  for (int i = 0; i < tracks; ++i) {
    const std::string raw = File("track.raw");
    if (!Shell("sox -n -r 44100 -c 2 -b 16 -e signed -L -t raw " + Quote(raw) + Tone(seconds, 330 + 110 * i))) {
      return false;
    }
    image << std::ifstream(raw, std::ios::binary).rdbuf();
    char number[16];
    std::snprintf(number, sizeof number, "%02d", i + 1);
    cue += std::string("  TRACK ") + number + " AUDIO\n    INDEX 01 " + CueTime(i * seconds) + "\n";
  }
  image.close();
  std::ofstream(File(cueName)) << cue;
  return image.good();
}

std::string ProbeSinkDescription() {
  return "audioconvert ! audioresample ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! tovarelprobesink";
}

}  // namespace music::bench
