#pragma once
// A fake MCI seam for Lumora_BGM's logic: records every call in order and
// answers from a script.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "saver/music/mci.h"
#include "saver/music/reply_buffer.h"

namespace music::test {

struct Call {
  std::string what;  // "send", "error", "sound", "count"
  std::string text;  // command, sound file ("<none>" for no sound) or code
  std::size_t capacity = 0;
  std::uint32_t flags = 0;
  bool operator==(const Call&) const = default;
};

inline Call Send(std::string command, std::size_t capacity) { return {"send", std::move(command), capacity, 0}; }

class RecordingMci : public Mci {
 public:
  struct Answer {
    std::uint32_t code = 0;
    std::string reply;  // written only when code is 0
  };
  std::map<std::string, Answer> answers;        // by exact command; others succeed with ""
  std::map<std::uint32_t, std::string> errorTexts;  // codes without an entry have no text
  std::uint32_t deviceCount = 1;
  std::vector<Call> calls;

  std::uint32_t SendString(std::string_view command, std::span<char> reply) override {
    calls.push_back(Send(std::string(command), reply.size()));
    Answer answer;
    if (auto it = answers.find(std::string(command)); it != answers.end()) answer = it->second;
    if (answer.code == 0) WriteReply(answer.reply, reply);
    return answer.code;
  }
  bool GetErrorString(std::uint32_t code, std::span<char> buffer) override {
    calls.push_back({"error", std::to_string(code), buffer.size(), 0});
    auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    WriteReply(it->second, buffer);
    return true;
  }
  bool PlaySoundFile(std::optional<std::string_view> sound, std::uint32_t flags) override {
    calls.push_back({"sound", sound ? std::string(*sound) : "<none>", 0, flags});
    return true;
  }
  std::uint32_t WaveOutDeviceCount() override {
    calls.push_back({"count", "", 0, 0});
    return deviceCount;
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Call& c : calls) {
      if (c.what == "send") out.push_back(c.text);
    }
    return out;
  }
};

}  // namespace music::test
