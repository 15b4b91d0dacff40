#pragma once
// Runs Windows programs under Wine on a private X server: one Xvfb display,
// one fresh Wine prefix and one persistent wineserver per session. Starting a
// session costs about ten seconds (wineboot), so tests share one per binary.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace wine_harness {

// Code page 932, the systems the program is made for. C.UTF-8 gives 1252,
// zh_CN.UTF-8 gives 936.
inline constexpr const char* kJapaneseLocale = "ja_JP.UTF-8";

struct ScreenSize {
  int width = 1024;
  int height = 768;
  friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

struct RunResult {
  bool started = false;
  bool timedOut = false;
  int exitCode = -1;   // as Linux sees it: a Windows exit code modulo 256
  std::string output;  // standard output and error together
};

// A Windows program running in the background.
class WineProcess {
 public:
  WineProcess() = default;
  explicit WineProcess(pid_t pid, std::string outputPath) : pid_(pid), outputPath_(std::move(outputPath)) {}
  WineProcess(WineProcess&& other) noexcept;
  WineProcess& operator=(WineProcess&& other) noexcept;
  ~WineProcess();

  bool Valid() const { return pid_ > 0; }
  // The exit code, or nothing if the program is still running after the wait.
  std::optional<int> Wait(int timeoutMs);
  bool Running();
  void Kill();
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  std::string outputPath_;
};

class WineSession {
 public:
  WineSession() = default;
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;
  ~WineSession() { Stop(); }

  // Xvfb, wineboot, registry settings and wineserver; false with `error` set
  // when any of it fails. Wine takes the system's code page from the locale.
  bool Start(ScreenSize screen, std::string& error, std::string locale = kJapaneseLocale);
  void Stop();
  bool Started() const { return started_; }

  const std::string& DisplayName() const { return displayName_; }
  ScreenSize Screen() const { return screen_; }
  // A scratch folder that lives as long as the session.
  const std::string& WorkDir() const { return workDir_; }
  // The HOME of the programs (its .asoundrc picks their sound device).
  const std::string& HomeDir() const { return home_; }

  // Runs a Windows program (path on this system) with arguments to its end.
  RunResult Run(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds) const;
  // Starts one in the background; it is killed after `timeoutSeconds` anyway.
  WineProcess Spawn(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds) const;

 private:
  std::vector<std::string> Environment() const;
  RunResult RunTool(const std::vector<std::string>& command, int timeoutSeconds) const;
  bool StartXvfb(std::string& error);
  bool InstallJapaneseFonts(std::string& error);

  bool started_ = false;
  ScreenSize screen_;
  std::string locale_ = kJapaneseLocale;
  pid_t xvfbPid_ = -1;
  std::string displayName_;
  std::string workDir_;
  std::string prefix_;
  std::string home_;
  std::string wine_;
  std::string wineserver_;
};

// One started session per screen size and locale for the whole test binary,
// stopped at exit. Null (with `error`) when it cannot be started.
WineSession* SharedSession(ScreenSize screen, std::string& error, const std::string& locale = kJapaneseLocale);

// A Japanese font of this system and the Windows font names it stands in
// for in every session.
struct JapaneseFont {
  std::string file;
  const char* family;
  std::vector<const char*> windowsNames;
};
std::vector<JapaneseFont> JapaneseFonts();

// The Wine loader and server to use: $TOVAREL_WINE / $TOVAREL_WINESERVER,
// else what the system offers (wine64 first).
std::string FindWineLoader();
std::string FindWineServer();

// Z: maps the Linux root in every prefix.
std::string WindowsPath(const std::string& linuxPath);

}  // namespace wine_harness
