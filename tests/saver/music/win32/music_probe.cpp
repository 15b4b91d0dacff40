// music_probe.exe: the music module on winmm, driven from the Linux-side
// tests. Arguments are read as UTF-16 from the command line and handed on as
// UTF-8, as the saver's settings hold them. Prints key=value lines (UTF-8);
// exit code 0 when the request could be carried out.
//   music_probe.exe system        ANSI code page and wave output devices
//   music_probe.exe mci FILE      open/play/status/stop/close on the seam
//   music_probe.exe send COMMAND  one command through Lumora_BGM's SendMci
//   music_probe.exe bgm FILE      PlayMp3, IsMp3Playing, RepeatMp3, StopMp3
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "saver/music/lumora_bgm.h"
#include "saver/music/mci.h"
#include "saver/settings_vars.h"

namespace {

// Long enough for Wine to build its DirectShow graph; the tests only care
// whether the state is reached.
constexpr DWORD StartWaitMs = 10000;
constexpr DWORD EndWaitMs = 20000;
constexpr DWORD PollMs = 20;

std::string ToUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list) return args;
  for (int i = 0; i < count; ++i) args.push_back(ToUtf8(list[i]));
  LocalFree(list);
  return args;
}

// Values stay on one line whatever a reply holds.
void Print(const std::string& key, const std::string& value) {
  std::string line = key + "=";
  for (char c : value) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void Print(const std::string& key, long value) { Print(key, std::to_string(value)); }

std::uint32_t Send(music::Mci& mci, const std::string& command) { return mci.SendString(command, {}); }

// The reply of a status command, or "Error:" and the code.
std::string Status(music::Mci& mci, const std::string& command) {
  std::array<char, 128> reply{};
  const std::uint32_t code = mci.SendString(command, reply);
  if (code != 0) return "Error:" + std::to_string(code);
  return std::string(reply.data());
}

template <typename Done>
bool WaitFor(DWORD limitMs, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limitMs) return done();
    Sleep(PollMs);
  }
  return true;
}

int System() {
  Print("acp", static_cast<long>(GetACP()));
  Print("wavedevices", static_cast<long>(music::SystemMci().WaveOutDeviceCount()));
  return 0;
}

int RawSequence(const std::string& file) {
  music::Mci& mci = music::SystemMci();
  const std::uint32_t open = Send(mci, "open \"" + file + "\" type MPEGVideo alias MP3Play");
  Print("open", static_cast<long>(open));
  if (open != 0) return 1;
  Print("play", static_cast<long>(Send(mci, "play MP3Play")));
  std::string mode;
  const DWORD start = GetTickCount();
  WaitFor(StartWaitMs, [&] { return (mode = Status(mci, "status MP3Play mode")) == "playing"; });
  Print("mode", mode);
  Print("mode_after_ms", static_cast<long>(GetTickCount() - start));
  Print("length", Status(mci, "status MP3Play length"));
  // The position moves while it plays.
  const std::string before = Status(mci, "status MP3Play position");
  Sleep(300);
  Print("position_moved", before != Status(mci, "status MP3Play position") ? "1" : "0");
  Print("stop", static_cast<long>(Send(mci, "stop MP3Play")));
  Print("stopped_mode", Status(mci, "status MP3Play mode"));
  Print("close", static_cast<long>(Send(mci, "close MP3Play")));
  Print("closed_status", Status(mci, "status MP3Play mode"));
  return 0;
}

int SendThroughModule(const std::string& command) {
  music::Lumora_BGM bgm(music::SystemMci());
  std::string reply;
  Print("result", static_cast<long>(bgm.SendMci(command, reply)));
  Print("reply", reply);
  return 0;
}

int ModuleSequence(const std::string& file) {
  music::Mci& mci = music::SystemMci();
  music::Lumora_BGM bgm(mci);
  saver::BgmFile = file;
  bgm.PlayMp3();
  Print("playing", WaitFor(StartWaitMs, [&] { return bgm.IsMp3Playing(); }) ? "1" : "0");
  // The test's file is short: it plays to its end by itself.
  Print("ended", WaitFor(EndWaitMs, [&] { return !bgm.IsMp3Playing(); }) ? "1" : "0");
  Print("ended_mode", std::string(bgm.mp3ModeBuffer.data()));
  bgm.RepeatMp3();
  Print("restarted", WaitFor(StartWaitMs, [&] { return bgm.IsMp3Playing(); }) ? "1" : "0");
  // A playing file is left alone by the watch.
  bgm.RepeatMp3();
  Print("still_playing", bgm.IsMp3Playing() ? "1" : "0");
  bgm.StopMp3();
  Print("closed_status", Status(mci, "status MP3Play mode"));
  return 0;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::vector<std::string> args = Arguments();
  if (args.size() == 2 && args[1] == "system") return System();
  if (args.size() == 3 && args[1] == "mci") return RawSequence(args[2]);
  if (args.size() == 3 && args[1] == "send") return SendThroughModule(args[2]);
  if (args.size() == 3 && args[1] == "bgm") return ModuleSequence(args[2]);
  std::fputs("usage: music_probe.exe system | mci FILE | send COMMAND | bgm FILE\n", stderr);
  return 2;
}
