#pragma once
// The music seam: what Lumora_BGM needs from the media control interface.
// Windows implements it with winmm, Linux with our own MCI interpreter.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace music {

// PlaySoundA flags the module uses.
inline constexpr std::uint32_t SndSync = 0x0000;
inline constexpr std::uint32_t SndAsync = 0x0001;
inline constexpr std::uint32_t SndNoDefault = 0x0002;
inline constexpr std::uint32_t SndLoop = 0x0008;
inline constexpr std::uint32_t SndFilename = 0x00020000;

class Mci {
 public:
  virtual ~Mci() = default;

  // mciSendStringA: sends one command string (UTF-8) and returns the MCI
  // error code, 0 for success. `reply` is the reply buffer; its size is the
  // reply length handed to MCI (an empty span means no reply wanted). A
  // successful reply is written NUL-terminated and cut to size - 1 bytes;
  // the rest of the buffer is left as it was, and a failed command leaves
  // the whole buffer as it was.
  virtual std::uint32_t SendString(std::string_view command,
                                   std::span<char> reply) = 0;

  // mciGetErrorStringA: writes the text of `code` into `buffer` (cut like a
  // reply). Returns false, leaving the buffer alone, when there is no text.
  virtual bool GetErrorString(std::uint32_t code, std::span<char> buffer) = 0;

  // PlaySoundA with no module: `sound` is a file name (UTF-8), or nullopt
  // for "no sound", which stops the sound that is playing.
  virtual bool PlaySoundFile(std::optional<std::string_view> sound,
                         std::uint32_t flags) = 0;

  // waveOutGetNumDevs.
  virtual std::uint32_t WaveOutDeviceCount() = 0;
};

// The platform's implementation, alive for the whole program (defined by the
// backend library the program links: winmm on Windows, GStreamer on Linux).
Mci& SystemMci();

}  // namespace music
