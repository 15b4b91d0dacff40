#pragma once
#include <optional>
#include <string>

#include "cd_time.h"

namespace music {

// The drive libcdio names as the default one, or empty when there is none.
std::string DefaultCdDevice();

// Reads the table of contents of a drive or disc image through libcdio;
// nullopt when there is no drive, no disc or no track.
std::optional<CdToc> ReadCdToc(const std::string& device);

}  // namespace music
