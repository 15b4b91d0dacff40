#pragma once
// Runs a command line of the packaging tools and keeps what it printed.
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace packaging_test {

struct CommandResult {
  int exitCode = -1;
  std::string output;  // standard output and error together
};

inline std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline CommandResult RunCommand(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& word : argv) line += Quoted(word) + " ";
  line += "2>&1";
  CommandResult result;
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.output.append(chunk, n);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace packaging_test
