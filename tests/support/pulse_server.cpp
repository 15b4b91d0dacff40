#include "tests/support/pulse_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace testsupport {
namespace {

pid_t Spawn(const std::vector<std::string>& args, const std::string& outputFile) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) dup2(out, STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t& pid, int sig) {
  if (pid <= 0) return;
  kill(pid, sig);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace

PulseServer::PulseServer() {
  char dirTemplate[] = "/tmp/tovarel-pulse-XXXXXX";
  if (mkdtemp(dirTemplate) == nullptr) return;
  dir_ = dirTemplate;
  chmod(dir_.c_str(), 0700);
  std::filesystem::create_directories(dir_ + "/home");
  const std::string socket = dir_ + "/native";
  // The daemon keeps its state under its own runtime folder and home.
  setenv("PULSE_RUNTIME_PATH", dir_.c_str(), 1);
  setenv("HOME", (dir_ + "/home").c_str(), 1);
  daemon_ = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                   "--use-pid-file=no", "-L", "module-null-sink sink_name=tovarel",
                   "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket},
                  dir_ + "/daemon.log");
  setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
  for (int i = 0; i < 200 && !ready_; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ready_ = std::system("pactl info >/dev/null 2>&1") == 0;
  }
}

void PulseServer::OpenToAllUsers() {
  chmod(dir_.c_str(), 0711);
  chmod((dir_ + "/native").c_str(), 0777);
}

int PulseServer::Streams() {
  FILE* listing = popen("pactl list short sink-inputs 2>/dev/null", "r");
  if (listing == nullptr) return -1;
  int lines = 0;
  for (int c; (c = std::fgetc(listing)) != EOF;) lines += c == '\n';
  return pclose(listing) == 0 ? lines : -1;
}

PulseServer::~PulseServer() {
  Stop(recorder_, SIGTERM);
  Stop(daemon_, SIGTERM);
  if (!dir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
}

bool PulseServer::StartRecording() {
  Stop(recorder_, SIGTERM);
  recorder_ = Spawn({"parec", "-d", "tovarel.monitor", "--format=s16le", "--rate=44100", "--channels=2",
                     "--latency-msec=20"},
                    dir_ + "/recording.raw");
  return recorder_ > 0;
}

std::vector<std::int16_t> PulseServer::StopRecording() {
  Stop(recorder_, SIGTERM);
  std::ifstream in(dir_ + "/recording.raw", std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return samples;
}

}  // namespace testsupport
