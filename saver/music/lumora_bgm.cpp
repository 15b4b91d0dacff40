#include "saver/music/lumora_bgm.h"

#include <algorithm>
#include <optional>

#include "saver/common/vb_number.h"
#include "saver/settings_vars.h"

namespace music {
namespace {

constexpr std::string_view kNoCommandText = "コマンド文字列が指定されていません";
constexpr std::string_view kNoErrorText = "Error (文字列が取れません)";

// A fixed buffer read as text ends at its first NUL.
template <std::size_t N>
std::string UpToNul(const std::array<char, N>& buffer) {
  auto end = std::find(buffer.begin(), buffer.end(), '\0');
  return std::string(buffer.begin(), end);
}

// Left$(buffer, 7): the NULs of an unwritten buffer count as characters.
template <std::size_t N>
std::string_view FirstSeven(const std::array<char, N>& buffer) {
  return std::string_view(buffer.data(), std::min<std::size_t>(7, N));
}

bool ContainsErr(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text.find("ERR") != std::string::npos;
}

}  // namespace

void Lumora_BGM::OpenCd() {
  mci_.SendString("open cdaudio", {});
  mci_.SendString("set cdaudio time format tmsf", {});
}

void Lumora_BGM::PollCd() {
  CdPolling = True;
  PollCdSteps();
}

void Lumora_BGM::PollCdSteps() {
  const std::string current = QueryMci("status cdaudio current track");
  if (ContainsErr(current)) {
    CdPolling = False;
    return;
  }
  if (ContainsErr(QueryMci("status cdaudio number of tracks"))) {
    CdPolling = False;
    return;
  }
  mci_.SendString("status cdaudio mode", cdModeBuffer);
  const bool stopped = FirstSeven(cdModeBuffer) == "stopped";

  if (saver::BgmRepeat == 0) {
    if (stopped) PlayRange("cdaudio", "", "");
    return;
  }
  // Both sides of the test are evaluated: a current track that is not a
  // number fails the tick even on a stopped drive.
  const std::optional<double> currentTrack = common::ReadNumber(current);
  if (!currentTrack) {
    CdPolling = False;
    return;
  }
  if (stopped || *currentTrack != saver::BgmRepeat) {
    const std::string start =
        QueryMci("status cdaudio position track " + std::to_string(saver::BgmRepeat));
    PlayRange("cdaudio", start, "");
  }
}

void Lumora_BGM::StopCd() {
  mci_.SendString("stop cdaudio", {});
  mci_.SendString("close cdaudio", {});
}

void Lumora_BGM::PlayMp3() {
  const std::string open = "open \"" + saver::BgmFile + "\" type MPEGVideo Alias MP3Play";
  if (mci_.SendString(open, {}) == 0) mci_.SendString("play MP3Play", {});
}

bool Lumora_BGM::IsMp3Playing() {
  mci_.SendString("status MP3Play mode", mp3ModeBuffer);
  return FirstSeven(mp3ModeBuffer) == "playing";
}

void Lumora_BGM::RepeatMp3() {
  if (!IsMp3Playing()) {
    mci_.SendString("stop MP3Play", {});
    mci_.SendString("play MP3Play from 0", {});
  }
}

void Lumora_BGM::StopMp3() {
  mci_.SendString("stop MP3Play", {});
  mci_.SendString("close MP3Play", {});
}

void Lumora_BGM::PlayWav() {
  if (mci_.WaveOutDeviceCount() > 0) {
    mci_.PlaySoundFile(saver::BgmFile, SndAsync | SndLoop);
  }
}

void Lumora_BGM::StopWav() { mci_.PlaySoundFile(std::nullopt, 0); }

std::int32_t Lumora_BGM::SendMci(std::string_view command, std::string& reply) {
  if (command.empty()) {
    reply = kNoCommandText;
    return -1;
  }
  const std::uint32_t code = mci_.SendString(command, mciReplyBuffer);
  if (code == 0) {
    reply = UpToNul(mciReplyBuffer);
    return 0;
  }
  if (mci_.GetErrorString(code, mciErrorBuffer)) {
    reply = UpToNul(mciErrorBuffer);
  } else {
    reply = kNoErrorText;
  }
  return static_cast<std::int32_t>(code);
}

std::string Lumora_BGM::QueryMci(std::string_view command) {
  const std::int32_t code = SendMci(command, MciReply);
  if (code != 0) return "Error:" + std::to_string(code);
  return MciReply;
}

std::int32_t Lumora_BGM::PlayRange(std::string_view device, std::string_view fromPos,
                                   std::string_view toPos) {
  std::string command = "play ";
  command += device;
  if (!fromPos.empty()) {
    command += " from ";
    command += fromPos;
  }
  if (!toPos.empty()) {
    command += " to ";
    command += toPos;
  }
  return SendMci(command, MciReply);
}

}  // namespace music
