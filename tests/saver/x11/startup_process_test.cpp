// Tovarel.scr as a process on a private X server.
// GoogleTest first: Xlib defines None, Bool and Status as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/saver/support/temp_dir.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Generous: only there so that a program that hangs fails the test.
constexpr auto kHangLimit = 20s;

class Process {
 public:
  Process(const std::string& program, const std::vector<std::string>& args) {
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
  }
  ~Process() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // The exit status once the process has ended, polling until the limit.
  std::optional<int> Wait(std::chrono::milliseconds limit = kHangLimit) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (!status_) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      } else if (std::chrono::steady_clock::now() > until) {
        break;
      } else {
        std::this_thread::sleep_for(10ms);
      }
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

Window FindByTitle(Display* display, Window window, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    bool same = title == name;
    XFree(name);
    if (same) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count && !found; ++i) found = FindByTitle(display, children[i], title);
  }
  if (children) XFree(children);
  return found;
}

class StartupProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.Running());
    display = XOpenDisplay(xvfb.Display().c_str());
    ASSERT_NE(display, nullptr);
    program = folder.File("Tovarel.scr");
    fs::copy_file(TOVAREL_SCR_PATH, program);
  }
  void TearDown() override {
    if (display) XCloseDisplay(display);
  }
  void AddRenderer() { testsupport::WriteBytes(folder.File("Tovarel.dll"), "ELF"); }
  Window MakeWindow(const std::string& title, bool netWmNameOnly) {
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    if (netWmNameOnly) {
      XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                      XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(title.data()),
                      static_cast<int>(title.size()));
    } else {
      XStoreName(display, window, title.c_str());
    }
    XSync(display, False);
    return window;
  }
  // Polls for the message box; the program shows it or ends.
  Window WaitForMessageBox(Process& process) {
    auto until = std::chrono::steady_clock::now() + kHangLimit;
    while (std::chrono::steady_clock::now() < until) {
      if (Window box = FindByTitle(display, DefaultRootWindow(display), "Tovarel (ScreenSaver)")) {
        return box;
      }
      if (process.Wait(0ms)) return 0;
      std::this_thread::sleep_for(20ms);
    }
    return 0;
  }
  unsigned int ChildCount(Window window) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, window, &root, &parent, &children, &count);
    if (children) XFree(children);
    return count;
  }
  void Close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }

  testsupport::XvfbServer xvfb;
  testsupport::TempDir folder;
  Display* display = nullptr;
  std::string program;
};

TEST_F(StartupProcessTest, OpenRunOrDialogEndsEveryModeSilently) {
  // Without Tovarel.dll a copy that got past the check would wait in its
  // message box. A preview would not, so its host is a real window here:
  // a copy that skipped the check would put its preview into it.
  const Window host = MakeWindow("Display Properties", false);
  const std::string hostId = std::to_string(host);
  for (bool dialog : {false, true}) {
    Window marker = MakeWindow(dialog ? "<Tovarel>" : "Lumora_Main", dialog);
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"/s"}, {"/c"}, {"/p", hostId}, {}, {"/a"}}) {
      const std::string what = std::string(dialog ? "dialog open" : "run open") + ", args " +
                               (args.empty() ? "(none)" : args[0]);
      // The check asks the X server first: while the server is grabbed a
      // copy that checks cannot end; one that ended without asking would.
      XGrabServer(display);
      XSync(display, False);
      Process process(program, args);
      const bool endedUnasked = process.Wait(500ms).has_value();
      XUngrabServer(display);
      XSync(display, False);
      EXPECT_FALSE(endedUnasked) << what << ": ended without looking for the open window";
      EXPECT_EQ(process.Wait(), 0) << what;
    }
    XDestroyWindow(display, marker);
    XSync(display, False);
  }
  EXPECT_EQ(ChildCount(host), 0u) << "nothing was put into the preview host";
}

TEST_F(StartupProcessTest, MissingRendererShowsTheMessageAndEndsWhenClosed) {
  for (const char* mode : {"/c", "/s", "/x"}) {
    Process process(program, {mode});
    Window box = WaitForMessageBox(process);
    ASSERT_NE(box, 0u) << mode << ": no message box";
    EXPECT_FALSE(process.Wait(300ms)) << mode << ": must wait for the user";
    Close(box);
    EXPECT_EQ(process.Wait(), 0) << mode;
  }
}

// The command line is the saver's own: options Qt would otherwise take as
// its own (another display, a style) change nothing.
TEST_F(StartupProcessTest, QtOptionsOnTheCommandLineAreNotQtsToRead) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"-display", ":77"}, {"-style", "nosuch"}, {"-reverse"}}) {
    Process process(program, args);
    Window box = WaitForMessageBox(process);
    ASSERT_NE(box, 0u) << args[0] << ": no message box on the saver's own display";
    Close(box);
    EXPECT_EQ(process.Wait(), 0) << args[0];
  }
}

TEST_F(StartupProcessTest, PreviewDoesNotLookForTheRenderer) {
  Process process(program, {"/p", "1234"});
  EXPECT_EQ(process.Wait(), 0);
}

TEST_F(StartupProcessTest, WithRendererEveryModeRunsToItsEnd) {
  AddRenderer();
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"/s"}, {"-S"}, {"/c:4711"}, {}, {"/a"}, {"s"}, {"/p:99"}}) {
    Process process(program, args);
    if (!args.empty() && args[0] == "/c:4711") {
      // The dialog waits for its user: close it as a user would.
      Window dialog = 0;
      for (auto until = std::chrono::steady_clock::now() + kHangLimit;
           dialog == 0 && std::chrono::steady_clock::now() < until;
           std::this_thread::sleep_for(20ms)) {
        dialog = FindByTitle(display, DefaultRootWindow(display), "<Tovarel>");
      }
      ASSERT_NE(dialog, 0u) << "no dialog";
      Close(dialog);
    }
    EXPECT_EQ(process.Wait(), 0) << (args.empty() ? "(empty)" : args[0]);
  }
  EXPECT_EQ(FindByTitle(display, DefaultRootWindow(display), "Tovarel (ScreenSaver)"), 0u);
}

}  // namespace
