// Command lines from anywhere through the mode letter, the preview handle
// and Main over the fake application: no crash, and Main ends, previews,
// shows the dialog or loads the run as the letter and the desktop call for,
// with nothing asked of the program after its end.
// Input: one byte of desktop state (bit 0 a run is open, bit 1 a dialog is
// open, bit 2 Tovarel.dll is present, bit 3 another copy holds the claims),
// then the command line.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "saver/settings_vars.h"
#include "saver/startup.h"
#include "tests/saver/startup/fake_application.h"

namespace {

const std::string kMissingMessage =
    "message Tovarel.dll が同じﾌｫﾙﾀﾞに見つかりません！ | Tovarel (ScreenSaver)";

struct Folders {
  std::string root, withRenderer, withoutRenderer;
};

void Write(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Two program folders, each with a Tovarel.ini asking for music kind 1;
// one also holds the renderer. Removed when the fuzzer ends; kept alive
// until then, for the removal runs after static objects are gone.
const Folders& ProgramFolders() {
  static const Folders& folders = *[] {
    auto* made = new Folders;
    Folders& f = *made;
    std::string pattern = (std::filesystem::temp_directory_path() / "tovarel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    f.root = pattern;
    f.withRenderer = f.root + "/with";
    f.withoutRenderer = f.root + "/without";
    for (const std::string& folder : {f.withRenderer, f.withoutRenderer}) {
      std::filesystem::create_directory(folder);
      Write(folder + "/Tovarel.ini", "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\n");
    }
    Write(f.withRenderer + "/Tovarel.dll", "ELF");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ProgramFolders().root, ignored);
    });
    return made;
  }();
  return folders;
}

// Characters as the mode letter counts them: a byte and the continuation
// bytes after it.
size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80 || count == 0;
  return count;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool runOpen = data[0] & 1, dialogOpen = data[0] & 2, rendererPresent = data[0] & 4,
             claimed = data[0] & 8;
  const std::string commandLine(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::string letter = saver::ModeLetter(commandLine);
  Check(letter.empty() == (CharacterCount(commandLine) < 2));
  Check(commandLine.find(letter) != std::string::npos || (letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'Z'));
  Check(!(letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z'));
  const std::int32_t handle = saver::PreviewHostHandle(commandLine);

  testsupport::FakeApplication app;
  app.commandLine = commandLine;
  app.programFolder = rendererPresent ? ProgramFolders().withRenderer : ProgramFolders().withoutRenderer;
  if (runOpen) app.windows.insert("Lumora_Main");
  if (dialogOpen) app.windows.insert("<Tovarel>");
  if (claimed) app.claims = {"_TOVAREL_RUN", "_TOVAREL_SETTINGS"};
  saver::BgmKind = 0;
  saver::BgmFolder = "(not loaded)";

  saver::ModeEntries modes;
  modes.loadPreviewForm = [&app](toolkit::Application&, std::int32_t host) {
    app.Record("preview " + std::to_string(host));
  };
  modes.showSettingsDialog = [&app](toolkit::Application&) { app.Record("dialog"); };
  modes.loadRunForm = [&app](toolkit::Application&) { app.Record("run form"); };
  saver::Main(app, modes);

  std::vector<std::string> log = app.log;
  for (const std::string& entry : log) Check(entry.rfind("AFTER END", 0) != 0);
  // A run (S or no letter) or the dialog (C) claims first; another copy's
  // claim ends it there.
  const std::string claim = letter == "S" || commandLine.empty() ? "claim _TOVAREL_RUN"
                            : letter == "C"                      ? "claim _TOVAREL_SETTINGS"
                                                                 : "";
  if (!claim.empty()) {
    Check(!log.empty() && log[0] == claim);
    if (claimed) {
      Check(log == std::vector<std::string>{claim, "end"});
      return 0;
    }
    log.erase(log.begin());
  }
  Check(!log.empty() && log[0] == "find Lumora_Main");
  if (runOpen) {
    Check(log == std::vector<std::string>{"find Lumora_Main", "end"});
    return 0;
  }
  Check(log.size() >= 2 && log[1] == "find <Tovarel>");
  if (dialogOpen) {
    Check(log.size() == 3 && log[2] == "end");
    return 0;
  }
  const std::vector<std::string> rest(log.begin() + 2, log.end());
  const bool loaded = saver::BgmFolder == app.programFolder;
  if (letter == "P") {
    // The preview reads no settings and looks for no renderer.
    Check(rest == std::vector<std::string>{"preview " + std::to_string(handle)});
    Check(!loaded && saver::BgmKind == 0);
    return 0;
  }
  Check(loaded && saver::BgmKind == 1);
  if (!rendererPresent) {
    Check(rest == std::vector<std::string>{kMissingMessage, "end"});
  } else if (letter == "C") {
    Check(rest == std::vector<std::string>{"dialog", "end"});
  } else if (letter == "S") {
    Check(rest == std::vector<std::string>{"cursor hide", "run form"});
  } else if (commandLine.empty()) {
    Check(rest == std::vector<std::string>{"run form"});
  } else {
    Check(rest == std::vector<std::string>{"end"});
  }
  return 0;
}
