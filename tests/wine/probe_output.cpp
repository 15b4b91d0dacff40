#include "tests/wine/probe_output.h"

#include <sstream>

namespace wine_harness {

ProbeFields ParseProbeFields(const std::string& output) {
  ProbeFields fields;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto equals = line.find('=');
    if (equals != std::string::npos && equals > 0) fields[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return fields;
}

std::string ProbeField(const ProbeFields& fields, const std::string& key) {
  const auto found = fields.find(key);
  return found == fields.end() ? std::string("<missing>") : found->second;
}

}  // namespace wine_harness
