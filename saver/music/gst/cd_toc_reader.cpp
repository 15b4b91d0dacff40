#include "saver/music/gst/cd_toc_reader.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <sys/stat.h>

#include <filesystem>

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

struct DiscWatch::FileStamp {
  std::string path;
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  static FileStamp Of(const std::string& path) {
    FileStamp stamp;
    stamp.path = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
      stamp.exists = true;
      stamp.device = info.st_dev;
      stamp.inode = info.st_ino;
      stamp.size = info.st_size;
      stamp.modified = info.st_mtim;
    }
    return stamp;
  }
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

DiscWatch::DiscWatch(const std::string& device) : device_(device) {
  QuietCdio();
  if (device.empty()) return;
  std::error_code error;
  if (std::filesystem::is_regular_file(device, error)) {
    // A CUE sheet names its BIN file; libcdio knows it as the "source".
    files_.push_back(FileStamp::Of(device));
    if (CdIo_t* cdio = cdio_open(device.c_str(), DRIVER_UNKNOWN)) {
      if (const char* source = cdio_get_arg(cdio, "source"); source && device != source) {
        files_.push_back(FileStamp::Of(source));
      }
      cdio_destroy(cdio);
    }
    return;
  }
  CdIo_t* cdio = cdio_open(device.c_str(), DRIVER_UNKNOWN);
  // The first answer covers whatever happened before the watch began.
  if (cdio) cdio_get_media_changed(cdio);
  cdio_ = cdio;
}

DiscWatch::~DiscWatch() {
  if (cdio_) cdio_destroy(static_cast<CdIo_t*>(cdio_));
}

bool DiscWatch::Changed() {
  for (const FileStamp& stamp : files_) {
    if (!(FileStamp::Of(stamp.path) == stamp)) return true;
  }
  return cdio_ && cdio_get_media_changed(static_cast<CdIo_t*>(cdio_)) == 1;
}

}  // namespace music
