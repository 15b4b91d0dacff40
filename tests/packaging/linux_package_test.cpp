// The Debian package: made by CPack from this build, unpacked into a scratch
// root with dpkg-deb -x, run from there on a private Xvfb as each desktop
// starts it, and checked by lintian, appstreamcli and desktop-file-validate.
#include <gtest/gtest.h>

#include <png.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/stat.h>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <functional>
#include <regex>
#include <string>
#include <thread>

#include "tests/support/wait_for.h"
#include "tests/support/child_process.h"
#include "tests/packaging/command.h"
#include "tests/saver/support/temp_dir.h"
#include "tools/xclient/x11_client.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;
using packaging_test::RunCommand;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& done, double seconds) {
  return testsupport::WaitFor(done, seconds, 20);
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
  // The music module beside them is a library, not a program.
  for (const auto& [file, mode] : {std::pair{"/usr/lib/tovarel/Tovarel.scr", 0755u},
                                   std::pair{"/usr/lib/tovarel/Tovarel.dll", 0755u},
                                   std::pair{"/usr/lib/tovarel/music/tovarel-music.so", 0644u}}) {
    struct stat info {};
    ASSERT_EQ(stat((root + file).c_str(), &info), 0) << file;
    EXPECT_EQ(info.st_mode & 0777, mode) << file;
  }
  // The command and the hack are links to the saver program, so it finds
  // its renderer beside its real file.
  for (const char* link :
       {"/usr/bin/tovarel", "/usr/libexec/xscreensaver/tovarel", "/usr/libexec/xsecurelock/saver_tovarel"}) {
    ASSERT_TRUE(fs::is_symlink(root + link)) << link;
    EXPECT_TRUE(fs::read_symlink(root + link).is_relative()) << link;
    EXPECT_TRUE(fs::equivalent(root + link, root + "/usr/lib/tovarel/Tovarel.scr")) << link;
  }
  for (const char* file : {"/usr/share/applications/tovarel-settings.desktop", "/usr/share/man/man1/tovarel.1.gz",
                           "/usr/share/man/man1/tovarel-xscreensaver.1.gz",
                           "/usr/share/applications/screensavers/tovarel.desktop",
                           "/usr/share/metainfo/jp.tovarel.Tovarel.metainfo.xml",
                           "/usr/share/xscreensaver/config/tovarel.xml", "/usr/share/doc/tovarel/copyright"}) {
    EXPECT_TRUE(fs::is_regular_file(root + file)) << file;
  }
  struct stat script {};
  ASSERT_EQ(stat((root + "/usr/bin/tovarel-xscreensaver").c_str(), &script), 0);
  EXPECT_EQ(script.st_mode & 0777, 0755u);
  EXPECT_NE(testsupport::ReadBytes(root + "/usr/share/xscreensaver/config/tovarel.xml").find("arg=\"--root\""),
            std::string::npos);
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

// lintian at --pedantic: any error, warning or pedantic note fails, except
// the tags listed here, each with its reason (none at present).
const std::set<std::string> kAcceptedLintianTags = {};

TEST_F(DebianPackageTest, LintianPedanticFindsNothingUnexplained) {
  const auto lint = RunCommand({"lintian", "--pedantic", "--tag-display-limit", "0", *deb_});
  std::printf("lintian --pedantic:\n%s\n", lint.output.c_str());
  const std::regex tag("(^|\n)([EWP]): tovarel[^:]*: ([a-z0-9-]+)");
  for (auto it = std::sregex_iterator(lint.output.begin(), lint.output.end(), tag); it != std::sregex_iterator();
       ++it) {
    EXPECT_TRUE(kAcceptedLintianTags.count((*it)[3].str())) << (*it)[0].str();
  }
}

// The desktop's own checkers, on the installed files.
TEST_F(DebianPackageTest, MetainfoAndDesktopFilesPassTheirValidators) {
  const std::string share = Root() + "/usr/share";
  const std::vector<std::string> checks[] = {
      {"appstreamcli", "validate", "--no-net", share + "/metainfo/jp.tovarel.Tovarel.metainfo.xml"},
      {"desktop-file-validate", share + "/applications/screensavers/tovarel.desktop"},
      {"desktop-file-validate", share + "/applications/tovarel-settings.desktop"},
  };
  for (const auto& check : checks) {
    const auto result = RunCommand(check);
    EXPECT_EQ(result.exitCode, 0) << check.back() << ":\n" << result.output;
    EXPECT_EQ(result.output.find("error"), std::string::npos) << result.output;
  }
  // What software centres show: the release and the screenshot's words.
  const std::string metainfo = testsupport::ReadBytes(share + "/metainfo/jp.tovarel.Tovarel.metainfo.xml");
  EXPECT_NE(metainfo.find("<release version=\"" TOVAREL_VERSION "\""), std::string::npos);
  EXPECT_NE(metainfo.find("<caption>"), std::string::npos);
  // mate- and xfce4-screensaver list savers by these keys.
  const std::string saver = testsupport::ReadBytes(share + "/applications/screensavers/tovarel.desktop");
  EXPECT_NE(saver.find("\nCategories=Screensaver;\n"), std::string::npos);
  EXPECT_NE(saver.find("\nExec=tovarel --root\n"), std::string::npos);
}

// The picture as 8-bit RGBA rows, through libpng's simplified reader.
std::optional<std::vector<std::uint8_t>> ReadRgba(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return std::nullopt;
  return rgba;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<unsigned char>(bytes[at + 1]) << 16 | static_cast<unsigned char>(bytes[at + 2]) << 8 |
         static_cast<unsigned char>(bytes[at + 3]);
}

TEST_F(DebianPackageTest, IconsComeInEveryHicolorSizeWithClearCorners) {
  for (const int size : {32, 48, 64, 128, 256}) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::string path = Root() + "/usr/share/icons/hicolor/" + name + "/apps/tovarel.png";
    const std::string bytes = testsupport::ReadBytes(path);
    ASSERT_GT(bytes.size(), 33u) << name;
    EXPECT_EQ(bytes.substr(1, 3), "PNG") << name;
    EXPECT_EQ(BigEndian32(bytes, 16), static_cast<std::uint32_t>(size)) << name << " width";
    EXPECT_EQ(BigEndian32(bytes, 20), static_cast<std::uint32_t>(size)) << name << " height";
    EXPECT_EQ(bytes[25], 6) << name << ": RGBA";
    // A rounded tile: the corners clear, the middle opaque.
    const auto rgba = ReadRgba(path);
    ASSERT_TRUE(rgba) << name;
    const auto alpha = [&](int x, int y) { return (*rgba)[(static_cast<std::size_t>(y) * size + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0) << name;
    EXPECT_EQ(alpha(size - 1, size - 1), 0) << name;
    EXPECT_EQ(alpha(size / 2, size / 2), 255) << name;
  }
}

// Debian's hardening in what is installed, and no compiler notes.
TEST_F(DebianPackageTest, ProgramsAreHardenedAndCarryNoCompilerNotes) {
  for (const char* program :
       {"/usr/lib/tovarel/Tovarel.scr", "/usr/lib/tovarel/Tovarel.dll", "/usr/lib/tovarel/music/tovarel-music.so"}) {
    const std::string path = Root() + program;
    const bool module = std::string_view(program).ends_with(".so");
    const std::string sections = RunCommand({"readelf", "-W", "-S", path}).output;
    const std::string dynamic = RunCommand({"readelf", "-W", "-d", path}).output;
    const std::string headers = RunCommand({"readelf", "-W", "-l", path}).output;
    const std::string symbols = RunCommand({"readelf", "-W", "--dyn-syms", path}).output;
    EXPECT_EQ(sections.find(".comment"), std::string::npos) << program;
    EXPECT_NE(headers.find("GNU_RELRO"), std::string::npos) << program << ": relro";
    EXPECT_TRUE(std::regex_search(dynamic, std::regex("BIND_NOW|Flags: NOW"))) << program << ": bind now";
    if (!module) {
      EXPECT_NE(dynamic.find("PIE"), std::string::npos) << program << ": position independent";
    }
    EXPECT_NE(symbols.find("__stack_chk_fail"), std::string::npos) << program << ": stack protector";
  }
  // Fortified calls where the compiler knows a buffer's size; the renderer
  // makes none that it could check.
  const std::string host = RunCommand({"readelf", "-W", "--dyn-syms", Root() + "/usr/lib/tovarel/Tovarel.scr"}).output;
  EXPECT_TRUE(std::regex_search(host, std::regex("__[a-z0-9_]+_chk"))) << "no fortified functions";
}

// Two packaging runs of one commit, a while apart, give the same bytes, and
// the files inside carry the commit's date.
TEST_F(DebianPackageTest, PackingAgainIsByteForByteTheSame) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  testsupport::TempDir again;
  const auto packed = RunCommand({TOVAREL_CPACK, "--config", TOVAREL_BUILD_DIR "/CPackConfig.cmake", "-G", "DEB",
                                  "-B", again.Path()});
  ASSERT_EQ(packed.exitCode, 0) << packed.output;
  const std::string second = again.File(fs::path(*deb_).filename().string());
  ASSERT_TRUE(fs::exists(second)) << packed.output;
  EXPECT_TRUE(testsupport::ReadBytes(second) == testsupport::ReadBytes(*deb_)) << "the two packages differ";

  const auto commit = RunCommand({"git", "-C", TOVAREL_SOURCE_DIR, "log", "-1", "--format=%ct"});
  if (commit.exitCode != 0) GTEST_SKIP() << "not a git checkout";
  const auto listing =
      RunCommand({"sh", "-c", "dpkg-deb --fsys-tarfile " + packaging_test::Quoted(*deb_) +
                                  " | tar -tv --full-time --utc | awk '{print $4 \" \" $5}' | sort -u"});
  const auto date = RunCommand({"date", "-u", "-d", "@" + commit.output.substr(0, commit.output.find('\n')),
                                "+%Y-%m-%d %H:%M:%S"});
  EXPECT_EQ(listing.output, date.output) << "times in the package other than the commit's";
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

// The living processes whose program lies in the package's lib/tovarel.
std::vector<pid_t> ProgramsRunningFrom(const fs::path& folder) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
    std::ifstream stat(entry.path() / "stat");
    std::string pid, comm, state;
    stat >> pid >> comm >> state;
    if (!error && exe.parent_path() == folder && state != "Z") found.push_back(std::stoi(name));
  }
  return found;
}

// More than half of the window shows the scene's blue sky.
bool SceneIn(Display* display, Window window) {
  const auto picture = xclient::Capture(display, window);
  if (!picture) return false;
  size_t blue = 0;
  for (size_t i = 0; i + 2 < picture->rgb.size(); i += 3) blue += picture->rgb[i + 2] > 150 && picture->rgb[i] < 120;
  return blue * 3 > picture->rgb.size() / 2;
}

// xsecurelock runs saver_tovarel from its folder, mate- and
// xfce4-screensaver the Exec line of the screensavers entry through a shell,
// each with $XSCREENSAVER_WINDOW naming its own window. The scene fills
// that window, and SIGTERM ends everything.
TEST_F(DebianPackageTest, DaemonsStartTheSaverInTheirOwnWindow) {
  const std::string desktop = testsupport::ReadBytes(Root() + "/usr/share/applications/screensavers/tovarel.desktop");
  const size_t exec = desktop.find("\nExec=");
  ASSERT_NE(exec, std::string::npos);
  const std::string execLine = desktop.substr(exec + 6, desktop.find('\n', exec + 1) - exec - 6);
  const struct {
    const char* daemon;
    std::string program;
    std::vector<std::string> args;
  } daemons[] = {
      {"xsecurelock", Root() + "/usr/libexec/xsecurelock/saver_tovarel", {}},
      {"mate-screensaver", "/bin/sh", {"-c", "exec " + execLine}},
  };
  testsupport::XvfbServer xvfb("1024x768x24");
  ASSERT_TRUE(xvfb.Running());
  Display* display = XOpenDisplay(xvfb.Display().c_str());
  ASSERT_NE(display, nullptr);
  testsupport::TempDir config;
  setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  const std::string path = getenv("PATH") != nullptr ? getenv("PATH") : "/usr/bin:/bin";
  setenv("PATH", (Root() + "/usr/bin:" + path).c_str(), 1);
  const fs::path programs = fs::canonical(Root() + "/usr/lib/tovarel");
  for (const auto& daemon : daemons) {
    SCOPED_TRACE(daemon.daemon);
    // The daemon's window: black, smaller than the screen, off its corner.
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 50, 640, 480, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    setenv("XSCREENSAVER_WINDOW", std::to_string(window).c_str(), 1);
    testsupport::ChildProcess saver;
    ASSERT_TRUE(saver.Start(daemon.program, daemon.args));
    unsetenv("XSCREENSAVER_WINDOW");
    EXPECT_TRUE(WaitFor([&] { return SceneIn(display, window); }, 30)) << "no scene in the daemon's window";
    EXPECT_FALSE(xclient::FindWindowByTitle(display, "Lumora_VC")) << "a window of the renderer's own";
    EXPECT_TRUE(saver.Signal(SIGTERM));
    EXPECT_TRUE(saver.Wait(5).has_value());
    EXPECT_TRUE(WaitFor([&] { return ProgramsRunningFrom(programs).empty(); }, 3)) << "a program outlived SIGTERM";
    for (const pid_t pid : ProgramsRunningFrom(programs)) kill(pid, SIGKILL);
    XDestroyWindow(display, window);
    XSync(display, False);
  }

  // The real xsecurelock, told to use the package's saver by its path: it
  // covers the screen with its own window and runs the saver in it.
  if (fs::exists("/usr/bin/xsecurelock")) {
    SCOPED_TRACE("xsecurelock itself");
    setenv("XSECURELOCK_SAVER", (Root() + "/usr/libexec/xsecurelock/saver_tovarel").c_str(), 1);
    testsupport::ChildProcess locker;
    ASSERT_TRUE(locker.Start("/usr/bin/xsecurelock"));
    unsetenv("XSECURELOCK_SAVER");
    EXPECT_TRUE(WaitFor([&] { return SceneIn(display, DefaultRootWindow(display)); }, 30)) << "no scene on screen";
    EXPECT_TRUE(locker.Signal(SIGTERM));
    EXPECT_TRUE(locker.Wait(5).has_value());
    EXPECT_TRUE(WaitFor([&] { return ProgramsRunningFrom(programs).empty(); }, 3)) << "a program outlived xsecurelock";
    for (const pid_t pid : ProgramsRunningFrom(programs)) kill(pid, SIGKILL);
  }
  setenv("PATH", path.c_str(), 1);
  XCloseDisplay(display);
}

// A user's first steps with xscreensaver: "tovarel-xscreensaver add" in a
// home with the user's own settings, then the real daemon runs the hack it
// listed. xscreensaver launches no hacks as root, so both run as nobody.
TEST_F(DebianPackageTest, XscreensaverRunsTheHackTheCommandListed) {
  if (!fs::exists("/usr/bin/xscreensaver")) GTEST_SKIP() << "xscreensaver is not installed";
  std::vector<std::string> asUser;
  testsupport::TempDir home, runtime;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || !fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no user to run xscreensaver as";
    asUser = {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
              "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
    for (const auto* dir : {&home, &runtime})
      ASSERT_EQ(chown(dir->Path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    fs::permissions(work_->Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
  }
  chmod(runtime.Path().c_str(), 0700);
  testsupport::XvfbServer xvfb("1024x768x24");
  ASSERT_TRUE(xvfb.Running());
  const auto run = [&](const std::vector<std::string>& command) {
    std::vector<std::string> full = asUser;
    full.insert(full.end(), {"/usr/bin/env", "HOME=" + home.Path(), "XDG_RUNTIME_DIR=" + runtime.Path(),
                             "XDG_CONFIG_HOME=" + home.Path() + "/.config", "DISPLAY=" + xvfb.Display(),
                             "PATH=" + Root() + "/usr/bin:/usr/bin:/bin"});
    full.insert(full.end(), command.begin(), command.end());
    return full;
  };
  // The user's settings: the first hack, at once, and nothing else showing.
  const auto settings = RunCommand(run({"sh", "-c",
                                        "printf 'timeout: 0:30:00\\nlock: False\\nsplash: False\\nfade: False\\n"
                                        "unfade: False\\ndpmsEnabled: False\\nmode: one\\nselected: 0\\n' "
                                        "> \"$HOME/.xscreensaver\""}));
  ASSERT_EQ(settings.exitCode, 0) << settings.output;
  const auto added = RunCommand(run({"tovarel-xscreensaver", "add"}));
  ASSERT_EQ(added.exitCode, 0) << added.output;

  std::vector<std::string> daemon = run({"xscreensaver", "-no-splash"});
  testsupport::ChildProcess xscreensaver;
  ASSERT_TRUE(xscreensaver.Start(daemon.front(), std::vector<std::string>(daemon.begin() + 1, daemon.end())));
  ASSERT_TRUE(WaitFor([&] { return RunCommand(run({"xscreensaver-command", "-time"})).exitCode == 0; }, 20));
  ASSERT_EQ(RunCommand(run({"xscreensaver-command", "-activate"})).exitCode, 0);
  const fs::path programs = fs::canonical(Root() + "/usr/lib/tovarel");
  EXPECT_TRUE(WaitFor([&] { return ProgramsRunningFrom(programs).size() == 2; }, 20))
      << "xscreensaver did not run the listed hack";
  RunCommand(run({"xscreensaver-command", "-exit"}));
  xscreensaver.Wait(10);
  EXPECT_TRUE(WaitFor([&] { return ProgramsRunningFrom(programs).empty(); }, 5));
  for (const pid_t pid : ProgramsRunningFrom(programs)) kill(pid, SIGKILL);
}

}  // namespace
