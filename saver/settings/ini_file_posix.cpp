#include "saver/settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace saver::ini {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A symbolic link is written through, so the link itself stays a link.
std::string ResolveTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return {};
  return resolved;
}

}  // namespace

FileContent LoadFile(const std::string& path) {
  FileContent content;
  // Non-blocking, so a FIFO in place of the file cannot hang the program.
  Fd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.Get() < 0) {
    content.state = errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    return content;
  }
  content.state = FileState::Unreadable;
  struct stat info;
  if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return content;
  if (static_cast<unsigned long long>(info.st_size) > kMaxFileBytes) return content;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd.Get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return content;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > kMaxFileBytes) return content;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  content.state = FileState::Loaded;
  content.bytes = std::move(bytes);
  return content;
}

bool SaveFile(const std::string& path, std::string_view bytes) {
  std::string target = ResolveTarget(path);
  if (target.empty()) return false;
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

  struct stat old;
  bool hadFile = stat(target.c_str(), &old) == 0;
  if (hadFile && !S_ISREG(old.st_mode)) return false;

  std::string temp;
  int fdValue = -1;
  for (int attempt = 0; attempt < 100 && fdValue < 0; ++attempt) {
    temp = folder + "." + name + "." + std::to_string(getpid()) + "." + std::to_string(attempt);
    fdValue = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fdValue < 0 && errno != EEXIST) return false;
  }
  if (fdValue < 0) return false;
  Fd fd(fdValue);
  bool ok = WriteAll(fd.Get(), bytes);
  if (ok && hadFile) ok = fchmod(fd.Get(), old.st_mode & 07777) == 0;
  ok = ok && fsync(fd.Get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace saver::ini
