#include "saver/music/gst/mci_interpreter.h"

#include <vector>

#include "saver/music/gst/cd_toc_reader.h"
#include "saver/music/mci_errors.h"

namespace music {
namespace {

// Keyword arguments of one command: each keyword once, with or without a
// value; "wait" and "notify" are allowed everywhere and change nothing here.
struct Options {
  std::map<std::string, std::optional<MciToken>> given;
  std::uint32_t error = 0;

  bool Has(const std::string& key) const { return given.count(key) != 0; }
  std::optional<std::string> Value(const std::string& key) const {
    auto it = given.find(key);
    if (it == given.end() || !it->second) return std::nullopt;
    return it->second->text;
  }
};

Options ReadOptions(const std::vector<MciToken>& args, std::initializer_list<std::string_view> withValue,
                    std::initializer_list<std::string_view> flags) {
  Options options;
  auto listed = [](std::initializer_list<std::string_view> list, const std::string& word) {
    for (std::string_view w : list) {
      if (w == word) return true;
    }
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string word = args[i].quoted ? std::string() : AsciiLower(args[i].text);
    const bool takesValue = listed(withValue, word);
    if (!takesValue && !listed(flags, word) && word != "wait" && word != "notify") {
      options.error = Code(MciErr::UnrecognizedKeyword);
      return options;
    }
    if (options.Has(word)) {
      options.error = Code(MciErr::DuplicateFlags);
      return options;
    }
    std::optional<MciToken> value;
    if (takesValue) {
      if (i + 1 >= args.size()) {
        options.error = Code(MciErr::MissingParameter);
        return options;
      }
      value = args[++i];
    }
    options.given.emplace(word, std::move(value));
  }
  return options;
}

// The words of a status or set item, without a trailing "wait"/"notify".
std::optional<std::vector<std::string>> ItemWords(const std::vector<MciToken>& args) {
  std::vector<std::string> words;
  for (const MciToken& token : args) {
    if (token.quoted) return std::nullopt;
    words.push_back(AsciiLower(token.text));
  }
  while (!words.empty() && (words.back() == "wait" || words.back() == "notify")) words.pop_back();
  return words;
}

using Words = std::vector<std::string>;

bool IsMpegExtension(const std::string& path) {
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
  const std::string ext = AsciiLower(path.substr(dot + 1));
  return ext == "mp3" || ext == "mp2" || ext == "mpa" || ext == "mpg" || ext == "mpeg";
}

std::uint32_t NoArguments(const std::vector<MciToken>& args) {
  return ReadOptions(args, {}, {}).error;
}

// stop, pause and resume mean the same to every device and take nothing more.
template <typename Device>
std::optional<std::uint32_t> RunTransport(Device& device, const MciCommand& command) {
  const std::string& verb = command.verb;
  if (verb != "stop" && verb != "pause" && verb != "resume") return std::nullopt;
  if (const std::uint32_t error = NoArguments(command.args)) return error;
  return verb == "stop" ? device.Stop() : verb == "pause" ? device.Pause() : device.Resume();
}

}  // namespace

MciInterpreter::MciInterpreter(std::string audioSink, std::optional<std::string> cdDrive)
    : audioSink_(std::move(audioSink)), cdDrive_(std::move(cdDrive)) {}

MciInterpreter::~MciInterpreter() = default;

std::uint32_t MciInterpreter::Execute(std::string_view text, std::string& reply) {
  reply.clear();
  ParsedCommand parsed = ParseMciCommand(text);
  if (parsed.error) return parsed.error;
  const MciCommand& command = parsed.command;
  const std::string& verb = command.verb;

  static const std::vector<std::string> kVerbs = {"open", "close", "play", "stop", "pause",
                                                  "resume", "status", "set"};
  bool known = false;
  for (const std::string& v : kVerbs) known = known || v == verb;
  if (!known) return Code(MciErr::UnrecognizedCommand);

  if (verb == "open") return Open(command);
  const std::string name = AsciiLower(command.device.text);
  if (verb == "close") {
    if (const std::uint32_t error = NoArguments(command.args)) return error;
    return Close(name);
  }
  if (cd_ && name == cdName_) return RunCd(*cd_, command, reply);
  if (auto it = files_.find(name); it != files_.end()) return RunFile(*it->second, command, reply);
  return Code(MciErr::InvalidDeviceName);
}

std::uint32_t MciInterpreter::Open(const MciCommand& command) {
  const Options options = ReadOptions(command.args, {"type", "alias"}, {"shareable"});
  if (options.error) return options.error;
  const std::optional<std::string> alias = options.Value("alias");
  const std::optional<std::string> type = options.Value("type");
  const std::string element = command.device.text;
  const bool cd = type ? AsciiLower(*type) == "cdaudio" && IsKeyword(command.device, "cdaudio")
                       : IsKeyword(command.device, "cdaudio");

  const std::string name = AsciiLower(alias ? *alias : element);
  if (name.empty() || name == "all") return Code(MciErr::BadConstant);
  if (files_.count(name) || (cd_ && name == cdName_)) {
    return alias ? Code(MciErr::DuplicateAlias) : Code(MciErr::DeviceOpen);
  }

  if (cd) {
    if (cd_) return Code(MciErr::DeviceOpen);
    const std::string drive = cdDrive_ ? *cdDrive_ : DefaultCdDevice();
    cd_ = std::make_unique<CdDevice>(drive, audioSink_);
    cdName_ = name;
    return 0;
  }
  if (type ? AsciiLower(*type) != "mpegvideo" : !IsMpegExtension(element)) {
    return type ? Code(MciErr::InvalidDeviceName) : Code(MciErr::ExtensionNotFound);
  }
  std::unique_ptr<FileDevice> device;
  if (const std::uint32_t error = FileDevice::Open(element, audioSink_, device)) return error;
  files_.emplace(name, std::move(device));
  return 0;
}

std::uint32_t MciInterpreter::Close(const std::string& name) {
  if (name == "all") {
    files_.clear();
    cd_.reset();
    return 0;
  }
  if (cd_ && name == cdName_) {
    cd_.reset();
    return 0;
  }
  if (files_.erase(name)) return 0;
  return Code(MciErr::InvalidDeviceName);
}

std::uint32_t MciInterpreter::RunFile(FileDevice& device, const MciCommand& command, std::string& reply) {
  const std::string& verb = command.verb;
  if (verb == "play") {
    const Options options = ReadOptions(command.args, {"from", "to"}, {});
    if (options.error) return options.error;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    if (auto text = options.Value("from")) {
      auto value = ParseMciInteger(*text);
      if (!value) return Code(MciErr::BadInteger);
      from = *value;
    }
    if (auto text = options.Value("to")) {
      auto value = ParseMciInteger(*text);
      if (!value) return Code(MciErr::BadInteger);
      to = *value;
    }
    return device.Play(from, to);
  }
  if (const auto done = RunTransport(device, command)) return *done;
  const auto words = ItemWords(command.args);
  if (!words) return Code(MciErr::UnrecognizedKeyword);
  if (words->empty()) return Code(MciErr::MissingParameter);
  if (verb == "set") {
    if (words->size() == 3 && (*words)[0] == "time" && (*words)[1] == "format") {
      const std::string& format = (*words)[2];
      return format == "milliseconds" || format == "ms" ? 0 : Code(MciErr::BadTimeFormat);
    }
    return Code(MciErr::UnsupportedFunction);
  }
  // status
  if (*words == Words{"mode"}) {
    reply = device.Mode();
  } else if (*words == Words{"position"}) {
    reply = std::to_string(device.PositionMs());
  } else if (*words == Words{"length"}) {
    reply = std::to_string(device.LengthMs());
  } else if (*words == Words{"ready"}) {
    reply = "true";
  } else if (*words == Words{"time", "format"}) {
    reply = "milliseconds";
  } else {
    return Code(MciErr::UnrecognizedKeyword);
  }
  return 0;
}

std::uint32_t MciInterpreter::RunCd(CdDevice& device, const MciCommand& command, std::string& reply) {
  device.CheckDisc();
  const std::string& verb = command.verb;
  if (verb == "play") {
    const Options options = ReadOptions(command.args, {"from", "to"}, {});
    if (options.error) return options.error;
    const CdToc* toc = device.Toc();
    if (!toc) return Code(MciErr::DeviceNotReady);
    std::optional<std::int32_t> from;
    std::optional<std::int32_t> to;
    if (auto text = options.Value("from")) {
      const CdPositionResult position = ParseCdPosition(*toc, device.timeFormat, *text);
      if (position.error) return position.error;
      from = position.sector;
    }
    if (auto text = options.Value("to")) {
      const CdPositionResult position = ParseCdPosition(*toc, device.timeFormat, *text);
      if (position.error) return position.error;
      to = position.sector;
    }
    return device.Play(from, to);
  }
  if (const auto done = RunTransport(device, command)) return *done;
  const auto words = ItemWords(command.args);
  if (!words) return Code(MciErr::UnrecognizedKeyword);
  if (words->empty()) return Code(MciErr::MissingParameter);
  const Words& w = *words;

  if (verb == "set") {
    if (w.size() == 3 && w[0] == "time" && w[1] == "format") {
      if (w[2] == "tmsf") {
        device.timeFormat = CdTimeFormat::Tmsf;
      } else if (w[2] == "msf") {
        device.timeFormat = CdTimeFormat::Msf;
      } else if (w[2] == "milliseconds" || w[2] == "ms") {
        device.timeFormat = CdTimeFormat::Milliseconds;
      } else {
        return Code(MciErr::BadTimeFormat);
      }
      return 0;
    }
    return Code(MciErr::UnsupportedFunction);
  }

  // status: items that need no disc first.
  if (w == Words{"mode"}) {
    reply = device.Mode();
    return 0;
  }
  if (w == Words{"media", "present"} || w == Words{"ready"}) {
    reply = device.Toc() ? "true" : "false";
    return 0;
  }
  if (w == Words{"time", "format"}) {
    reply = device.timeFormat == CdTimeFormat::Tmsf  ? "tmsf"
            : device.timeFormat == CdTimeFormat::Msf ? "msf"
                                                     : "milliseconds";
    return 0;
  }
  const bool trackItem = w.size() == 3 && w[1] == "track" && (w[0] == "position" || w[0] == "length");
  const bool known = w == Words{"current", "track"} || w == Words{"number", "of", "tracks"} ||
                     w == Words{"position"} || w == Words{"length"} || trackItem;
  if (!known) return Code(MciErr::UnrecognizedKeyword);
  const CdToc* toc = device.Toc();
  if (!toc) return Code(MciErr::DeviceNotReady);

  if (w == Words{"current", "track"}) {
    reply = std::to_string(toc->TrackAt(device.CurrentSector()));
  } else if (w == Words{"number", "of", "tracks"}) {
    reply = std::to_string(toc->TrackCount());
  } else if (w == Words{"position"}) {
    reply = FormatCdPosition(*toc, device.timeFormat, device.CurrentSector());
  } else if (w == Words{"length"}) {
    reply = FormatCdLength(device.timeFormat, toc->leadOut - toc->trackStart.front());
  } else {
    const auto track = ParseMciInteger(w[2]);
    if (!track) return Code(MciErr::BadInteger);
    if (!toc->HasTrack(*track)) return Code(MciErr::OutOfRange);
    reply = w[0] == "position" ? FormatCdPosition(*toc, device.timeFormat, toc->StartOf(*track))
                               : FormatCdLength(device.timeFormat, toc->EndOf(*track) - toc->StartOf(*track));
  }
  return 0;
}

}  // namespace music
