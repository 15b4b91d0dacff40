#pragma once
// The Windows-side test programs report what they saw as key=value lines.
#include <map>
#include <string>

namespace wine_harness {

using ProbeFields = std::map<std::string, std::string>;

// Lines without '=' are ignored; Windows line ends are taken off.
ProbeFields ParseProbeFields(const std::string& output);
// The value of a key, or "<missing>" so a failed check says what it lacked.
std::string ProbeField(const ProbeFields& fields, const std::string& key);

}  // namespace wine_harness
