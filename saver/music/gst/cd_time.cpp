#include "saver/music/gst/cd_time.h"

#include <charconv>
#include <cstdio>

#include "saver/music/mci_errors.h"

namespace music {

int CdToc::TrackAt(std::int32_t sector) const {
  int track = firstTrack;
  for (int t = firstTrack; t <= LastTrack(); ++t) {
    if (StartOf(t) <= sector) track = t;
  }
  return track;
}

bool CdToc::HasAudio() const {
  for (int t = firstTrack; t <= LastTrack(); ++t) {
    if (IsAudio(t)) return true;
  }
  return false;
}

std::int32_t CdToc::AudioStart() const {
  for (int t = firstTrack; t <= LastTrack(); ++t) {
    if (IsAudio(t)) return StartOf(t);
  }
  return leadOut;
}

std::int32_t CdToc::AudioEnd() const {
  for (int t = LastTrack(); t >= firstTrack; --t) {
    if (IsAudio(t)) return EndOf(t);
  }
  return leadOut;
}

bool CdToc::IsPlayableStart(std::int32_t sector) const {
  if (trackStart.empty() || sector < AudioStart() || sector >= AudioEnd()) return false;
  return IsAudio(TrackAt(sector));
}

std::optional<std::int32_t> ParseMciInteger(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

namespace {

std::string Msf(std::int32_t frames) {
  if (frames < 0) frames = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / (60 * kSectorsPerSecond),
                frames / kSectorsPerSecond % 60, frames % kSectorsPerSecond);
  return text;
}

}  // namespace

std::string FormatCdPosition(const CdToc& toc, CdTimeFormat format, std::int32_t sector) {
  switch (format) {
    case CdTimeFormat::Tmsf: {
      const int track = toc.TrackAt(sector);
      char text[16];
      std::snprintf(text, sizeof text, "%02d:", track);
      return text + Msf(sector - toc.StartOf(track));
    }
    case CdTimeFormat::Msf:
      return Msf(sector + kMsfOffset);
    case CdTimeFormat::Milliseconds:
      return std::to_string(static_cast<std::int64_t>(sector + kMsfOffset) * 1000 / kSectorsPerSecond);
  }
  return {};
}

std::string FormatCdLength(CdTimeFormat format, std::int32_t sectors) {
  if (format == CdTimeFormat::Milliseconds) {
    return std::to_string(static_cast<std::int64_t>(sectors) * 1000 / kSectorsPerSecond);
  }
  return Msf(sectors);
}

CdPositionResult ParseCdPosition(const CdToc& toc, CdTimeFormat format, std::string_view text) {
  CdPositionResult result;
  std::vector<std::int32_t> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    const auto field = ParseMciInteger(text.substr(start, colon == std::string_view::npos ? text.npos : colon - start));
    if (!field) {
      result.error = Code(MciErr::BadInteger);
      return result;
    }
    fields.push_back(*field);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  const std::size_t maxFields = format == CdTimeFormat::Tmsf ? 4 : format == CdTimeFormat::Msf ? 3 : 1;
  if (fields.size() > maxFields) {
    result.error = Code(MciErr::BadInteger);
    return result;
  }
  fields.resize(maxFields, 0);

  std::int64_t sector = 0;
  switch (format) {
    case CdTimeFormat::Tmsf:
      if (!toc.HasTrack(fields[0])) {
        result.error = Code(MciErr::OutOfRange);
        return result;
      }
      sector = toc.StartOf(fields[0]) +
               (static_cast<std::int64_t>(fields[1]) * 60 + fields[2]) * kSectorsPerSecond + fields[3];
      break;
    case CdTimeFormat::Msf:
      sector = (static_cast<std::int64_t>(fields[0]) * 60 + fields[1]) * kSectorsPerSecond + fields[2] -
               kMsfOffset;
      break;
    case CdTimeFormat::Milliseconds:
      sector = static_cast<std::int64_t>(fields[0]) * kSectorsPerSecond / 1000 - kMsfOffset;
      break;
  }
  if (toc.trackStart.empty() || sector < toc.trackStart.front() || sector > toc.leadOut) {
    result.error = Code(MciErr::OutOfRange);
    return result;
  }
  result.sector = static_cast<std::int32_t>(sector);
  return result;
}

}  // namespace music
