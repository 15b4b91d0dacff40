#include "tests/wine/wine_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

extern char** environ;

namespace wine_harness {
namespace {

namespace fs = std::filesystem;

// What `timeout` returns when it had to stop the command.
constexpr int TimeoutExitCode = 124;

bool IsExecutable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return {};
  std::stringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (IsExecutable(candidate)) return candidate;
  }
  return {};
}

std::string FirstFound(const char* override, std::initializer_list<const char*> candidates) {
  if (const char* chosen = std::getenv(override); chosen && *chosen) return chosen;
  for (const char* candidate : candidates) {
    const std::string found = candidate[0] == '/' ? (IsExecutable(candidate) ? candidate : "") : FindInPath(candidate);
    if (!found.empty()) return found;
  }
  return {};
}

bool Dropped(const char* entry) {
  static const char* const names[] = {"DISPLAY=", "WAYLAND_DISPLAY=", "HOME=", "LANG=", "LANGUAGE=",
                                      "XDG_RUNTIME_DIR=", "XAUTHORITY="};
  for (const char* name : names)
    if (std::strncmp(entry, name, std::strlen(name)) == 0) return true;
  return std::strncmp(entry, "WINE", 4) == 0 || std::strncmp(entry, "LC_", 3) == 0;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts `argv` with the environment, output to `outputPath` (or /dev/null).
pid_t StartProcess(std::vector<std::string> argv, std::vector<std::string> env, const std::string& outputPath) {
  auto args = Pointers(argv);
  auto envp = Pointers(env);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // A test binary that dies takes its X server and Wine programs with it.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  const int in = open("/dev/null", O_RDONLY);
  const int out = open(outputPath.empty() ? "/dev/null" : outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in >= 0) dup2(in, STDIN_FILENO);
  if (out >= 0) {
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
  }
  execve(args[0], args.data(), envp.data());
  _exit(127);
}

std::optional<int> ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TimeoutTool() {
  const std::string found = FindInPath("timeout");
  return found.empty() ? "/usr/bin/timeout" : found;
}

// A command under `timeout`, so that no Wine call can hang a test run.
std::vector<std::string> Bounded(int seconds, std::vector<std::string> command) {
  std::vector<std::string> argv{TimeoutTool(), "-k", "5", std::to_string(seconds > 0 ? seconds : 1)};
  argv.insert(argv.end(), command.begin(), command.end());
  return argv;
}

int outputCounter = 0;

std::u16string Utf16Of(const std::string& utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) code = code << 6 | (utf8[i + k] & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
  }
  return out;
}

}  // namespace

std::vector<JapaneseFont> JapaneseFonts() {
  static const char* const proportional[] = {"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ＵＩ Gothic", "MS UI Gothic"};
  static const char* const fixed[] = {"ＭＳ ゴシック", "MS Gothic"};
  std::vector<JapaneseFont> found;
  const std::string folder = "/usr/share/fonts/opentype/ipafont-gothic/";
  if (access((folder + "ipagp.ttf").c_str(), R_OK) == 0)
    found.push_back({folder + "ipagp.ttf", "IPAPGothic", {std::begin(proportional), std::end(proportional)}});
  if (access((folder + "ipag.ttf").c_str(), R_OK) == 0)
    found.push_back({folder + "ipag.ttf", "IPAGothic", {std::begin(fixed), std::end(fixed)}});
  return found;
}

std::string FindWineLoader() {
  return FirstFound("TOVAREL_WINE", {"wine64", "/usr/lib/wine/wine64", "/usr/lib64/wine/wine64", "wine"});
}

std::string FindWineServer() {
  return FirstFound("TOVAREL_WINESERVER", {"wineserver", "/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"});
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

WineProcess::WineProcess(WineProcess&& other) noexcept { *this = std::move(other); }

WineProcess& WineProcess::operator=(WineProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    pid_ = other.pid_;
    exitCode_ = other.exitCode_;
    outputPath_ = std::move(other.outputPath_);
    other.pid_ = -1;
  }
  return *this;
}

WineProcess::~WineProcess() { Kill(); }

std::optional<int> WineProcess::Wait(int timeoutMs) {
  if (exitCode_ || pid_ <= 0) return exitCode_;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      exitCode_ = ExitCodeOf(status);
      return exitCode_;
    }
    if (done < 0 || std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool WineProcess::Running() { return pid_ > 0 && !Wait(0); }

void WineProcess::Kill() {
  if (pid_ <= 0 || exitCode_) return;
  kill(pid_, SIGTERM);
  if (!Wait(5000)) {
    kill(pid_, SIGKILL);
    Wait(5000);
  }
}

std::string WineProcess::Output() const { return outputPath_.empty() ? std::string() : ReadWhole(outputPath_); }

std::vector<std::string> WineSession::Environment() const {
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry)
    if (!Dropped(*entry)) env.emplace_back(*entry);
  env.push_back("DISPLAY=" + displayName_);
  env.push_back("WINEPREFIX=" + prefix_);
  env.push_back("WINEDEBUG=-all");
  // No .NET or Gecko installers during wineboot.
  env.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
  env.push_back("WINELOADER=" + wine_);
  env.push_back("WINESERVER=" + wineserver_);
  // Wine's ANSI code page follows the locale: 932 for Japanese systems.
  env.push_back("LANG=" + locale_);
  env.push_back("LC_ALL=" + locale_);
  env.push_back("HOME=" + home_);
  env.push_back("XDG_RUNTIME_DIR=" + workDir_ + "/runtime");
  return env;
}

RunResult WineSession::RunTool(const std::vector<std::string>& command, int timeoutSeconds) const {
  RunResult result;
  const std::string outputPath = workDir_ + "/output-" + std::to_string(++outputCounter) + ".txt";
  const pid_t pid = StartProcess(Bounded(timeoutSeconds, command), Environment(), outputPath);
  if (pid < 0) return result;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return result;
  result.started = true;
  result.exitCode = ExitCodeOf(status).value_or(-1);
  result.timedOut = result.exitCode == TimeoutExitCode;
  result.output = ReadWhole(outputPath);
  fs::remove(outputPath);
  return result;
}

RunResult WineSession::Run(const std::string& program, const std::vector<std::string>& args,
                           int timeoutSeconds) const {
  std::vector<std::string> command{wine_, program};
  command.insert(command.end(), args.begin(), args.end());
  return RunTool(command, timeoutSeconds);
}

WineProcess WineSession::Spawn(const std::string& program, const std::vector<std::string>& args,
                               int timeoutSeconds) const {
  std::vector<std::string> command{wine_, program};
  command.insert(command.end(), args.begin(), args.end());
  const std::string outputPath = workDir_ + "/output-" + std::to_string(++outputCounter) + ".txt";
  const pid_t pid = StartProcess(Bounded(timeoutSeconds, command), Environment(), outputPath);
  return pid > 0 ? WineProcess(pid, outputPath) : WineProcess();
}

bool WineSession::StartXvfb(std::string& error) {
  int fds[2];
  if (pipe(fds) != 0) {
    error = "cannot make a pipe for Xvfb";
    return false;
  }
  const std::string size = std::to_string(screen_.width) + "x" + std::to_string(screen_.height) + "x24";
  std::vector<std::string> argv{FindInPath("Xvfb"), "-displayfd", std::to_string(fds[1]), "-screen", "0", size,
                                "-noreset", "-nolisten", "tcp"};
  if (argv[0].empty()) {
    error = "Xvfb is not installed";
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  // Xvfb's own environment does not matter; it only needs the pipe.
  std::vector<std::string> env{"PATH=/usr/bin:/bin"};
  xvfbPid_ = StartProcess(argv, env, workDir_ + "/xvfb.log");
  close(fds[1]);
  std::string number;
  pollfd waitFor{fds[0], POLLIN, 0};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
    if (poll(&waitFor, 1, 200) <= 0) continue;
    char buffer[32];
    const ssize_t got = read(fds[0], buffer, sizeof(buffer));
    if (got <= 0) break;
    number.append(buffer, static_cast<std::size_t>(got));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    error = "Xvfb did not start: " + ReadWhole(workDir_ + "/xvfb.log");
    return false;
  }
  displayName_ = ":" + number.substr(0, number.find('\n'));
  return true;
}

bool WineSession::Start(ScreenSize screen, std::string& error, std::string locale) {
  if (started_) return true;
  screen_ = screen;
  locale_ = std::move(locale);
  wine_ = FindWineLoader();
  wineserver_ = FindWineServer();
  if (wine_.empty() || wineserver_.empty()) {
    error = "Wine is not installed (no wine64/wine and wineserver found)";
    return false;
  }
  std::error_code noTemp;
  std::string pattern = (fs::temp_directory_path(noTemp) / "tovarel-wine-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    error = "cannot make a scratch folder";
    return false;
  }
  workDir_ = pattern;
  prefix_ = workDir_ + "/prefix";
  home_ = workDir_ + "/home";
  fs::create_directories(home_);
  fs::create_directories(workDir_ + "/runtime");
  chmod((workDir_ + "/runtime").c_str(), 0700);
  // No sound card: ALSA's null device lets winmm open a wave device.
  std::ofstream(home_ + "/.asoundrc") << "pcm.!default { type null }\nctl.!default { type hw card 0 }\n";
  started_ = true;  // from here on Stop() has something to clean up

  if (!StartXvfb(error)) {
    Stop();
    return false;
  }
  // A persistent server first: it serves wineboot and every program after
  // it. It lingers a minute after the last program at most, so a session
  // whose test binary was killed does not leave it behind for good.
  fs::create_directories(prefix_);
  const RunResult server = RunTool({wineserver_, "-p60"}, 30);
  if (server.exitCode != 0) {
    error = "wineserver -p failed: " + server.output;
    Stop();
    return false;
  }
  const RunResult boot = RunTool({wine_, "wineboot", "-i"}, 180);
  if (boot.exitCode != 0) {
    error = "wineboot failed (" + std::to_string(boot.exitCode) + "): " + boot.output;
    Stop();
    return false;
  }
  // Without a window manager, destroying a managed window takes Wine seconds.
  const RunResult reg = RunTool(
      {wine_, "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f"}, 60);
  if (reg.exitCode != 0) {
    error = "cannot set the X11 driver's Managed value: " + reg.output;
    Stop();
    return false;
  }
  if (!InstallJapaneseFonts(error)) {
    Stop();
    return false;
  }
  return true;
}

bool WineSession::InstallJapaneseFonts(std::string& error) {
  // The system's IPA Gothic fonts in the prefix's font folder, and the
  // Windows names mapped to them, so that "ＭＳ Ｐゴシック" text shows its glyphs.
  const std::string fonts = prefix_ + "/drive_c/windows/Fonts";
  fs::create_directories(fonts);
  std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n";
  bool any = false;
  for (const auto& font : JapaneseFonts()) {
    std::error_code failed;
    fs::create_symlink(font.file, fonts + "/" + fs::path(font.file).filename().string(), failed);
    if (failed) continue;
    any = true;
    for (const char* name : font.windowsNames) reg += "\"" + std::string(name) + "\"=\"" + font.family + "\"\r\n";
  }
  if (!any) {
    error = "no Japanese font found (fonts-ipafont-gothic)";
    return false;
  }
  // regedit reads UTF-16 files whatever the code page.
  const std::string regFile = workDir_ + "/fonts.reg";
  {
    std::ofstream out(regFile, std::ios::binary);
    out.write("\xFF\xFE", 2);
    for (char16_t unit : Utf16Of(reg)) {
      const char bytes[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
      out.write(bytes, 2);
    }
  }
  const RunResult imported = RunTool({wine_, "regedit", "/S", WindowsPath(regFile)}, 60);
  if (imported.exitCode != 0) {
    error = "cannot map the Japanese font names: " + imported.output;
    return false;
  }
  return true;
}

void WineSession::Stop() {
  if (!started_) return;
  started_ = false;
  if (!wineserver_.empty() && fs::exists(prefix_)) RunTool({wineserver_, "-k"}, 30);
  if (xvfbPid_ > 0) {
    kill(xvfbPid_, SIGTERM);
    int status = 0;
    waitpid(xvfbPid_, &status, 0);
    xvfbPid_ = -1;
  }
  std::error_code ignored;
  if (!workDir_.empty()) fs::remove_all(workDir_, ignored);
}

WineSession* SharedSession(ScreenSize screen, std::string& error, const std::string& locale) {
  struct Entry {
    std::unique_ptr<WineSession> session;
    std::string error;
  };
  static std::vector<std::pair<std::pair<ScreenSize, std::string>, Entry>> sessions;
  for (auto& [key, entry] : sessions) {
    if (key.first == screen && key.second == locale) {
      error = entry.error;
      return entry.session->Started() ? entry.session.get() : nullptr;
    }
  }
  Entry entry{std::make_unique<WineSession>(), {}};
  entry.session->Start(screen, entry.error, locale);
  error = entry.error;
  sessions.emplace_back(std::make_pair(screen, locale), std::move(entry));
  return sessions.back().second.session->Started() ? sessions.back().second.session.get() : nullptr;
}

}  // namespace wine_harness
