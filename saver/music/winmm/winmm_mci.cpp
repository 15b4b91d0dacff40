#include "saver/music/winmm/winmm_mci.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "saver/music/mci_errors.h"
#include "saver/music/reply_buffer.h"
#include "saver/common/code_page.h"

namespace music {
namespace {

// Only what MCI wrote up to its NUL is taken.
void TakeReply(const std::vector<wchar_t>& wide, std::span<char> reply) {
  WriteReply(common::WideToUtf8(std::wstring_view(wide.data())), reply);
}

}  // namespace

std::uint32_t WinmmMci::SendString(std::string_view command, std::span<char> reply) {
  // The W functions, so a file name reaches MCI whatever the system's code
  // page; a command that is not UTF-8 is refused rather than sent with
  // substitutes, which could name another file.
  const auto wide = common::Utf8ToWide(command);
  if (!wide) return Code(MciErr::FileNotFound);
  std::vector<wchar_t> buffer(reply.size() + 1, L'\0');
  const MCIERROR code = mciSendStringW(wide->c_str(), reply.empty() ? nullptr : buffer.data(),
                                       static_cast<UINT>(reply.size()), nullptr);
  if (code == 0 && !reply.empty()) TakeReply(buffer, reply);
  return static_cast<std::uint32_t>(code);
}

bool WinmmMci::GetErrorString(std::uint32_t code, std::span<char> buffer) {
  if (buffer.empty()) return false;
  std::vector<wchar_t> wide(buffer.size() + 1, L'\0');
  if (!mciGetErrorStringW(code, wide.data(), static_cast<UINT>(buffer.size()))) return false;
  TakeReply(wide, buffer);
  return true;
}

bool WinmmMci::PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) {
  if (!sound) return PlaySoundW(nullptr, nullptr, flags) != FALSE;
  const auto wide = common::Utf8ToWide(*sound);
  if (!wide) return false;
  return PlaySoundW(wide->c_str(), nullptr, flags) != FALSE;
}

std::uint32_t WinmmMci::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

Mci& SystemMci() {
  static WinmmMci mci;
  return mci;
}

}  // namespace music
