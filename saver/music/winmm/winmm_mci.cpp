#include "winmm_mci.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "mci_errors.h"
#include "reply_buffer.h"
#include "saver/common/code_page.h"

namespace music {
namespace {

// The reply comes back in the A functions' code page, the system's ANSI
// one; only what MCI wrote up to its NUL is taken.
void TakeReply(const std::vector<char>& ansi, std::span<char> reply) {
  const std::string_view text(ansi.data());
  WriteReply(common::AnsiToUtf8Lossy(text), reply);
}

}  // namespace

std::uint32_t WinmmMci::SendString(std::string_view command, std::span<char> reply) {
  // A command that the ANSI code page cannot hold is refused rather than sent
  // with substitutes, which could name another file.
  const auto ansi = common::Utf8ToAnsi(command);
  if (!ansi) return Code(MciErr::FileNotFound);
  std::vector<char> buffer(reply.size() + 1, '\0');
  const MCIERROR code = mciSendStringA(ansi->c_str(), reply.empty() ? nullptr : buffer.data(),
                                       static_cast<UINT>(reply.size()), nullptr);
  if (code == 0 && !reply.empty()) TakeReply(buffer, reply);
  return static_cast<std::uint32_t>(code);
}

bool WinmmMci::GetErrorString(std::uint32_t code, std::span<char> buffer) {
  if (buffer.empty()) return false;
  std::vector<char> ansi(buffer.size() + 1, '\0');
  if (!mciGetErrorStringA(code, ansi.data(), static_cast<UINT>(buffer.size()))) return false;
  TakeReply(ansi, buffer);
  return true;
}

bool WinmmMci::PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) {
  if (!sound) return PlaySoundA(nullptr, nullptr, flags) != FALSE;
  const auto ansi = common::Utf8ToAnsi(*sound);
  if (!ansi) return false;
  return PlaySoundA(ansi->c_str(), nullptr, flags) != FALSE;
}

std::uint32_t WinmmMci::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

Mci& SystemMci() {
  static WinmmMci mci;
  return mci;
}

}  // namespace music
