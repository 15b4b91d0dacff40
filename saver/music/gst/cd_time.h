#pragma once
// CD positions in the MCI time formats. Positions are logical sector numbers
// (75 per second); the MSF and millisecond formats count from the disc's
// absolute start, 150 sectors before sector 0.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace music {

enum class CdTimeFormat { Msf, Tmsf, Milliseconds };

inline constexpr std::int32_t kSectorsPerSecond = 75;
inline constexpr std::int32_t kMsfOffset = 150;

// What the table of contents says: the start sector of every track (first
// track first), which of them hold audio, and the lead-out sector.
struct CdToc {
  int firstTrack = 1;
  std::vector<std::int32_t> trackStart;
  std::vector<bool> trackAudio;  // empty: every track is audio
  std::int32_t leadOut = 0;

  int TrackCount() const { return static_cast<int>(trackStart.size()); }
  int LastTrack() const { return firstTrack + TrackCount() - 1; }
  bool HasTrack(int track) const { return track >= firstTrack && track <= LastTrack(); }
  std::int32_t StartOf(int track) const { return trackStart[track - firstTrack]; }
  std::int32_t EndOf(int track) const {
    return track == LastTrack() ? leadOut : StartOf(track + 1);
  }
  // The track a sector lies in (the last one for the lead-out and beyond).
  int TrackAt(std::int32_t sector) const;

  bool IsAudio(int track) const {
    return trackAudio.empty() || trackAudio[static_cast<std::size_t>(track - firstTrack)];
  }
  bool HasAudio() const;
  // The audio part of the disc: from the first audio track's start to the
  // last one's end. Only meaningful when HasAudio().
  std::int32_t AudioStart() const;
  std::int32_t AudioEnd() const;
  // Whether playback may start at `sector`: inside an audio track, before
  // the end of the audio part.
  bool IsPlayableStart(std::int32_t sector) const;
};

// Formats `sector` as MCI replies it: "tt:mm:ss:ff", "mm:ss:ff" or a number.
std::string FormatCdPosition(const CdToc& toc, CdTimeFormat format, std::int32_t sector);

// A length of `sectors` (MCI gives lengths in TMSF as "mm:ss:ff").
std::string FormatCdLength(CdTimeFormat format, std::int32_t sectors);

// Reads a position argument; returns the sector or an MCI error code.
struct CdPositionResult {
  std::int32_t sector = 0;
  std::uint32_t error = 0;
};
CdPositionResult ParseCdPosition(const CdToc& toc, CdTimeFormat format, std::string_view text);

// A non-negative decimal integer that fits 31 bits, nothing else.
std::optional<std::int32_t> ParseMciInteger(std::string_view text);

}  // namespace music
