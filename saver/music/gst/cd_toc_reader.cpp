#include "cd_toc_reader.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

namespace music {
namespace {

// libcdio reports every failed probe on stderr; a missing disc is not news.
void QuietCdio() {
  static bool done = [] {
    cdio_log_set_handler([](cdio_log_level_t, const char*) {});
    return true;
  }();
  (void)done;
}

}  // namespace

std::string DefaultCdDevice() {
  QuietCdio();
  char* device = cdio_get_default_device(nullptr);
  if (!device) return {};
  std::string name = device;
  cdio_free(device);
  return name;
}

std::optional<CdToc> ReadCdToc(const std::string& device) {
  QuietCdio();
  if (device.empty()) return std::nullopt;
  CdIo_t* cdio = cdio_open(device.c_str(), DRIVER_UNKNOWN);
  if (!cdio) return std::nullopt;
  std::optional<CdToc> result;
  const track_t first = cdio_get_first_track_num(cdio);
  const track_t count = cdio_get_num_tracks(cdio);
  if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0) {
    CdToc toc;
    toc.firstTrack = first;
    bool valid = true;
    for (int t = first; t < first + count; ++t) {
      const lsn_t start = cdio_get_track_lsn(cdio, static_cast<track_t>(t));
      if (start == CDIO_INVALID_LSN || (!toc.trackStart.empty() && start < toc.trackStart.back())) {
        valid = false;
        break;
      }
      toc.trackStart.push_back(start);
      toc.trackAudio.push_back(cdio_get_track_format(cdio, static_cast<track_t>(t)) == TRACK_FORMAT_AUDIO);
    }
    const lsn_t leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (valid && leadOut != CDIO_INVALID_LSN && leadOut >= toc.trackStart.back()) {
      toc.leadOut = leadOut;
      result = std::move(toc);
    }
  }
  cdio_destroy(cdio);
  return result;
}

}  // namespace music
