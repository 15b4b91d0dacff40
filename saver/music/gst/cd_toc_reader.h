#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saver/music/gst/cd_time.h"

namespace music {

// The drive libcdio names as the default one, or empty when there is none.
std::string DefaultCdDevice();

// Reads the table of contents of a drive or disc image through libcdio;
// nullopt when there is no drive, no disc or no track.
std::optional<CdToc> ReadCdToc(const std::string& device);

// Tells whether the disc in a drive has changed since the watch began: a
// drive reports it itself; a disc image has changed when its files have
// (gone, replaced or rewritten).
class DiscWatch {
 public:
  explicit DiscWatch(const std::string& device);
  ~DiscWatch();
  DiscWatch(const DiscWatch&) = delete;
  DiscWatch& operator=(const DiscWatch&) = delete;

  bool Changed();

 private:
  struct FileStamp;
  std::string device_;
  void* cdio_ = nullptr;  // the drive's CdIo_t, kept open to ask it
  std::vector<FileStamp> files_;
};

}  // namespace music
