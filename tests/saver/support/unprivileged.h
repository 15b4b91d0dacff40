#pragma once
// Runs a piece of a test as a user without privileges: as root the file
// permissions the test sets up would not hold. The piece runs in a child
// process (as "nobody" when the test runs as root) and hands back a text.
#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace testsupport {

struct Unprivileged {
  uid_t uid = 0;
  gid_t gid = 0;
};

// The user the piece runs as; nothing when root has no "nobody" to become.
inline std::optional<Unprivileged> UnprivilegedUser() {
  if (geteuid() != 0) return Unprivileged{geteuid(), getegid()};
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) return std::nullopt;
  return Unprivileged{nobody->pw_uid, nobody->pw_gid};
}

// Gives a folder (and what is in it) to that user.
inline void GiveToUnprivileged(const std::string& path) {
  std::optional<Unprivileged> user = UnprivilegedUser();
  if (!user || geteuid() != 0) return;
  if (chown(path.c_str(), user->uid, user->gid) != 0) return;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (lchown(entry.path().c_str(), user->uid, user->gid) != 0) return;
  }
}

// The body's text, or nothing when the child could not drop its privileges
// or did not end normally.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
  std::optional<Unprivileged> user = UnprivilegedUser();
  if (!user) return std::nullopt;
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    close(channel[0]);
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(user->gid) != 0 || setuid(user->uid) != 0)) {
      _exit(3);
    }
    const std::string text = body();
    size_t done = 0;
    while (done < text.size()) {
      ssize_t n = write(channel[1], text.data() + done, text.size() - done);
      if (n <= 0) _exit(4);
      done += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = read(channel[0], chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

}  // namespace testsupport
