// The Debian package: made by CPack from this build, unpacked into a scratch
// root with dpkg-deb -x, run from there on a private Xvfb, and checked by
// lintian.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <thread>

#include "child_process.h"
#include "command.h"
#include "tests/saver/support/temp_dir.h"
#include "x11_client.h"
#include "xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using packaging_test::RunCommand;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& done, double seconds) {
  const auto until = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// One package for the whole binary: CPack and lintian take a while.
class DebianPackageTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = new testsupport::TempDir;
    const auto packed = RunCommand({TOVAREL_CPACK, "--config", TOVAREL_BUILD_DIR "/CPackConfig.cmake", "-G", "DEB",
                                    "-B", work_->Path()});
    packOutput_ = new std::string(packed.output);
    for (const auto& entry : fs::directory_iterator(work_->Path()))
      if (entry.path().extension() == ".deb") deb_ = new std::string(entry.path().string());
    if (deb_ != nullptr) RunCommand({"dpkg-deb", "-x", *deb_, work_->File("root")});
  }
  static void TearDownTestSuite() {
    delete deb_;
    delete packOutput_;
    delete work_;
    deb_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(deb_, nullptr) << *packOutput_; }

  static std::string Root() { return work_->File("root"); }
  static std::string Field(const std::string& name) {
    return RunCommand({"dpkg-deb", "-f", *deb_, name}).output;
  }

  static testsupport::TempDir* work_;
  static std::string* packOutput_;
  static std::string* deb_;
};

testsupport::TempDir* DebianPackageTest::work_ = nullptr;
std::string* DebianPackageTest::packOutput_ = nullptr;
std::string* DebianPackageTest::deb_ = nullptr;

TEST_F(DebianPackageTest, DeclaresWhatTheProgramsNeed) {
  const std::string depends = Field("Depends");
  for (const char* package : {"libx11-6", "libxrandr2", "libxss1", "libglx0", "libqt6widgets6", "libgstreamer1.0-0", "libcdio", "qt6-qpa-plugins",
                              "gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good",
                              "gstreamer1.0-plugins-ugly", "fonts-ipafont-gothic"}) {
    EXPECT_NE(depends.find(package), std::string::npos) << package << " missing from: " << depends;
  }
  // The renderer is an Xlib + GLX program.
  EXPECT_EQ(depends.find("libsdl"), std::string::npos) << depends;
  const long installedKb = std::stol("0" + Field("Installed-Size"));
  RecordProperty("deb_bytes", std::to_string(fs::file_size(*deb_)));
  RecordProperty("installed_kb", std::to_string(installedKb));
  std::printf("package %s: %ju bytes, Installed-Size %ld KiB\n", fs::path(*deb_).filename().c_str(),
              static_cast<std::uintmax_t>(fs::file_size(*deb_)), installedKb);
  EXPECT_GT(installedKb, 0);
}

TEST_F(DebianPackageTest, LaysTheFilesOutForTheSystem) {
  const std::string root = Root();
  for (const char* program : {"/usr/lib/tovarel/Tovarel.scr", "/usr/lib/tovarel/Tovarel.dll"}) {
    struct stat info {};
    ASSERT_EQ(stat((root + program).c_str(), &info), 0) << program;
    EXPECT_EQ(info.st_mode & 0777, 0755u) << program;
  }
  // The command and the hack are links to the saver program, so it finds
  // its renderer beside its real file.
  for (const char* link : {"/usr/bin/tovarel", "/usr/libexec/xscreensaver/tovarel"}) {
    ASSERT_TRUE(fs::is_symlink(root + link)) << link;
    EXPECT_TRUE(fs::read_symlink(root + link).is_relative()) << link;
    EXPECT_TRUE(fs::equivalent(root + link, root + "/usr/lib/tovarel/Tovarel.scr")) << link;
  }
  for (const char* file : {"/usr/share/applications/tovarel-settings.desktop", "/usr/share/man/man1/tovarel.1.gz",
                           "/usr/share/icons/hicolor/32x32/apps/tovarel.png",
                           "/usr/share/xscreensaver/config/tovarel.xml", "/usr/share/doc/tovarel/copyright"}) {
    EXPECT_TRUE(fs::is_regular_file(root + file)) << file;
  }
  const std::string desktop = testsupport::ReadBytes(root + "/usr/share/applications/tovarel-settings.desktop");
  EXPECT_NE(desktop.find("\nName=Tovarel の設定\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nExec=tovarel /c\n"), std::string::npos);
}

TEST_F(DebianPackageTest, FontAliasGivesIpaPGothicForTheDialogsFont) {
  const std::string link = Root() + "/etc/fonts/conf.d/65-tovarel-ms-pgothic.conf";
  ASSERT_TRUE(fs::is_symlink(link));
  const std::string target = "/usr/share/fontconfig/conf.avail/65-tovarel-ms-pgothic.conf";
  EXPECT_EQ(fs::read_symlink(link), target);
  ASSERT_TRUE(fs::is_regular_file(Root() + target));
  // fontconfig with the system's configuration and the alias as installed.
  testsupport::WriteBytes(work_->File("fonts.conf"),
                          "<?xml version=\"1.0\"?><fontconfig><include ignore_missing=\"yes\">/etc/fonts/fonts.conf"
                          "</include><include>" + Root() + target + "</include></fontconfig>");
  for (const char* family : {"ＭＳ Ｐゴシック", "MS PGothic"}) {
    const auto match = RunCommand({"env", "FONTCONFIG_FILE=" + work_->File("fonts.conf"), "fc-match", "-f",
                                   "%{family[0]}", family});
    EXPECT_EQ(match.output, "IPAPGothic") << family;
  }
}

TEST_F(DebianPackageTest, LintianFindsNoErrors) {
  const auto lint = RunCommand({"lintian", "--tag-display-limit", "0", *deb_});
  std::smatch error;
  const bool anyError = std::regex_search(lint.output, error, std::regex("(^|\n)E: [^\n]*"));
  EXPECT_FALSE(anyError) << lint.output;
  std::printf("lintian:\n%s\n", lint.output.c_str());
}

// The program file of the process that owns the renderer's window.
fs::path RendererProgram(Display* display) {
  const std::optional<xclient::XWindow> window = xclient::FindWindowByTitle(display, "Lumora_VC");
  if (!window) return {};
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, *window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) != Success || data == nullptr) {
    return {};
  }
  const unsigned long pid = count == 1 && format == 32 ? *reinterpret_cast<unsigned long*>(data) : 0;
  XFree(data);
  std::error_code error;
  return pid == 0 ? fs::path() : fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
}

TEST_F(DebianPackageTest, TovarelRunsFromTheUnpackedRoot) {
  testsupport::XvfbServer xvfb("1024x768x24");
  ASSERT_TRUE(xvfb.Running());
  Display* display = XOpenDisplay(xvfb.Display().c_str());
  ASSERT_NE(display, nullptr);
  testsupport::TempDir config;
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  testsupport::ChildProcess host;
  ASSERT_TRUE(host.Start(Root() + "/usr/bin/tovarel", {"/s"}));
  // Keys reach the renderer once its window is on screen.
  const bool shown = WaitFor([&] {
    const std::optional<xclient::XWindow> window = xclient::FindWindowByTitle(display, "Lumora_VC");
    return window && xclient::IsMapped(display, *window);
  }, 30);
  EXPECT_TRUE(shown) << "no renderer window";
  if (shown) {
    // The renderer that runs is the one beside the real saver program.
    EXPECT_EQ(RendererProgram(display), fs::canonical(Root() + "/usr/lib/tovarel/Tovarel.dll"));
    EXPECT_TRUE(xclient::TapKey(display, "Escape", 200));
    EXPECT_EQ(host.Wait(15), 0);
  }
  XCloseDisplay(display);
}

}  // namespace
