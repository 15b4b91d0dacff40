// The Windows packages: the resources of Tovarel.scr that the Display control
// panel reads, the ZIP, and the installer, run silently under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/packaging/command.h"
#include "tests/wine/probe_output.h"
#include <X11/Xlib.h>

#include "saver/toolkit/x11/connection.h"
#include "x11/window_lookup.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/wine/wine_session.h"
#include "tests/wine/windows_binaries.h"
#include "tests/wine/x_input.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using packaging_test::RunCommand;

constexpr int kRunSeconds = 120;
const std::string kVersion = TOVAREL_VERSION;

std::string WindowsBuildDir() { return wine_harness::WindowsBinDir() + "/.."; }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class WindowsPackageTest : public testing::Test {
 protected:
  void SetUp() override {
    scr = wine_harness::WindowsBinary("Tovarel.scr");
    dll = wine_harness::WindowsBinary("Tovarel.dll");
    if (!scr || !dll) GTEST_SKIP() << "the Windows build's programs are not built";
  }
  wine_harness::WineSession& Session() {
    std::string error;
    wine_harness::WineSession* session = wine_harness::SharedSession({}, error);
    if (session == nullptr) ADD_FAILURE() << error;
    return *session;
  }
  wine_harness::ProbeFields Resources(const std::string& file) {
    std::optional<std::string> probe = wine_harness::WindowsBinary("saver_scr_resources.exe");
    if (!probe) return {};
    return wine_harness::ParseProbeFields(
        Session().Run(*probe, {wine_harness::WindowsPath(file)}, kRunSeconds).output);
  }
  std::optional<std::string> scr, dll;
};

void ExpectControlPanelResources(const wine_harness::ProbeFields& fields) {
  EXPECT_EQ(wine_harness::ProbeField(fields, "name"), "Tovarel");
  EXPECT_EQ(wine_harness::ProbeField(fields, "icon"), "32x32");
  EXPECT_EQ(wine_harness::ProbeField(fields, "version"), kVersion + ".0");
  EXPECT_EQ(wine_harness::ProbeField(fields, "product"), "Tovarel");
}

TEST_F(WindowsPackageTest, ScrCarriesTheNameTheControlPanelListsItsIconAndVersion) {
  if (!wine_harness::WindowsBinary("saver_scr_resources.exe")) GTEST_SKIP() << "no resource probe built";
  ExpectControlPanelResources(Resources(*scr));
}

TEST_F(WindowsPackageTest, ZipHoldsBothProgramsAndTheReadMe) {
  const std::string top = "Tovarel-" + kVersion + "-windows";
  const std::string zip = WindowsBuildDir() + "/" + top + ".zip";
  if (!fs::exists(zip)) GTEST_SKIP() << "no ZIP made (tools/build-windows.sh makes it)";
  testsupport::TempDir out;
  const std::string unpacked = out.File("unpacked");
  fs::create_directories(unpacked);
  const auto extracted = RunCommand({"sh", "-c", "cd " + packaging_test::Quoted(unpacked) + " && " +
                                                     packaging_test::Quoted(TOVAREL_CMAKE) + " -E tar xf " +
                                                     packaging_test::Quoted(zip)});
  ASSERT_EQ(extracted.exitCode, 0) << extracted.output;
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(unpacked))
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), unpacked).string());
  EXPECT_EQ(files, (std::set<std::string>{top + "/Tovarel.scr", top + "/Tovarel.dll", top + "/README.txt"}));

  // Notepad of any Windows reads UTF-8 with its mark and CR LF line ends.
  const std::string readme = testsupport::ReadBytes(unpacked + "/" + top + "/README.txt");
  EXPECT_EQ(readme.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(readme.find_first_of('\n'), readme.find("\r\n") + 1);
  for (const char* words : {"System32", "インストール", "構成", "Install", "Configure"})
    EXPECT_NE(readme.find(words), std::string::npos) << words;

  // The copies in the ZIP are stripped; the control panel's resources stay.
  if (wine_harness::WindowsBinary("saver_scr_resources.exe"))
    ExpectControlPanelResources(Resources(unpacked + "/" + top + "/Tovarel.scr"));
}

// A REG_SZ value of the user's desktop settings, empty when unset.
std::string DesktopValue(wine_harness::WineSession& session, const char* name) {
  const auto query = session.Run("reg", {"query", "HKCU\\Control Panel\\Desktop", "/v", name}, kRunSeconds);
  const size_t type = query.output.find("REG_SZ");
  if (type == std::string::npos) return {};
  std::string value = query.output.substr(type + 6);
  value.erase(0, value.find_first_not_of(" \t"));
  return value.substr(0, value.find_first_of("\r\n"));
}
std::string ScreenSaverValue(wine_harness::WineSession& session) { return DesktopValue(session, "SCRNSAVE.EXE"); }

bool UninstallKeyExists(wine_harness::WineSession& session) {
  return session
             .Run("reg", {"query", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovarel"},
                  kRunSeconds)
             .exitCode == 0;
}

bool WindowExists(const std::string& display, const char* title) {
  Display* connection = XOpenDisplay(display.c_str());
  if (connection == nullptr) return false;
  const bool found = x11::WindowWithTitleExists(connection, title);
  XCloseDisplay(connection);
  return found;
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

TEST_F(WindowsPackageTest, InstallerChoosesTovarelRunsFromTheSystemFolderAndUninstallsCleanly) {
  const std::string setup = WindowsBuildDir() + "/Tovarel-" + kVersion + "-setup.exe";
  if (!fs::exists(setup)) GTEST_SKIP() << "no installer built (makensis missing?)";
  wine_harness::WineSession& session = Session();
  const std::string system32 = session.WorkDir() + "/prefix/drive_c/windows/system32";
  const std::string programFiles = session.WorkDir() + "/prefix/drive_c/Program Files/Tovarel";
  const std::string before = "C:\\windows\\system32\\scrnsave.scr";
  ASSERT_EQ(session.Run("reg", {"add", "HKCU\\Control Panel\\Desktop", "/v", "SCRNSAVE.EXE", "/d", before, "/f"},
                        kRunSeconds).exitCode, 0);
  ASSERT_EQ(session.Run("reg", {"add", "HKCU\\Control Panel\\Desktop", "/v", "ScreenSaveActive", "/d", "0", "/f"},
                        kRunSeconds).exitCode, 0);

  const auto installed = session.Run(setup, {"/S"}, kRunSeconds);
  ASSERT_EQ(installed.exitCode, 0) << installed.output;
  // The stripped copies the build put into the installer.
  for (const char* file : {"Tovarel.scr", "Tovarel.dll"}) {
    const std::string staged = testsupport::ReadBytes(WindowsBuildDir() + "/installer/" + file);
    EXPECT_FALSE(staged.empty()) << file;
    EXPECT_EQ(testsupport::ReadBytes(system32 + "/" + file), staged) << file;
  }
  ExpectControlPanelResources(Resources(system32 + "/Tovarel.scr"));
  EXPECT_EQ(Lower(ScreenSaverValue(session)), "c:\\windows\\system32\\tovarel.scr");
  EXPECT_EQ(DesktopValue(session, "ScreenSaveActive"), "1") << "the screen saver is not switched on";
  EXPECT_TRUE(UninstallKeyExists(session));
  EXPECT_TRUE(fs::exists(programFiles + "/Uninstall.exe"));

  // What the system starts when the screen saver is due: from its own place,
  // with the renderer found beside it, ended by Escape.
  wine_harness::WineProcess run = session.Spawn("C:\\windows\\system32\\Tovarel.scr", {"/s"}, kRunSeconds);
  ASSERT_TRUE(WaitFor([&] { return WindowExists(session.DisplayName(), "Lumora_VC"); }, 60s)) << run.Output();
  ASSERT_TRUE(wine_harness::WaitForFocus(session.DisplayName(), "Lumora_VC", 30000));
  ASSERT_TRUE(wine_harness::HoldKey(session.DisplayName(), "Escape", 200));
  EXPECT_EQ(run.Wait(30000), 0) << run.Output();
  EXPECT_FALSE(WindowExists(session.DisplayName(), "Lumora_VC"));
  EXPECT_FALSE(WindowExists(session.DisplayName(), "Lumora_Main"));

  // The uninstaller runs on from a copy of itself; its work shows on disk.
  const auto uninstalled = session.Run(programFiles + "/Uninstall.exe", {"/S"}, kRunSeconds);
  EXPECT_EQ(uninstalled.exitCode, 0) << uninstalled.output;
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(programFiles); }, 60s));
  EXPECT_FALSE(fs::exists(system32 + "/Tovarel.scr"));
  EXPECT_FALSE(fs::exists(system32 + "/Tovarel.dll"));
  EXPECT_EQ(ScreenSaverValue(session), before);  // the earlier choice comes back
  EXPECT_EQ(DesktopValue(session, "ScreenSaveActive"), "0");  // and whether it was on
  EXPECT_FALSE(UninstallKeyExists(session));
}

// The winget manifest made with the installer: each file holds what its
// schema (manifest version 1.6.0) requires, and the installer entry is this
// installer, silent with /S.
std::string YamlValue(const std::string& yaml, const std::string& key) {
  std::smatch match;
  if (!std::regex_search(yaml, match, std::regex("(^|\n)[ -]*" + key + ": *([^\n]*)"))) return {};
  return match[2].str();
}

TEST_F(WindowsPackageTest, WingetManifestHoldsWhatItsSchemasRequire) {
  const std::string folder = WindowsBuildDir() + "/winget/manifests/t/Tovarel/Tovarel/" + kVersion;
  const std::string setup = WindowsBuildDir() + "/Tovarel-" + kVersion + "-setup.exe";
  if (!fs::exists(setup)) GTEST_SKIP() << "no installer built (makensis missing?)";
  const struct {
    const char* file;
    const char* type;
    std::vector<const char*> required;
  } manifests[] = {
      {"Tovarel.Tovarel.yaml", "version", {"DefaultLocale"}},
      {"Tovarel.Tovarel.installer.yaml", "installer",
       {"Installers", "Architecture", "InstallerUrl", "InstallerSha256", "InstallerType"}},
      {"Tovarel.Tovarel.locale.ja-JP.yaml", "defaultLocale",
       {"PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"}},
      {"Tovarel.Tovarel.locale.en-US.yaml", "locale", {"PackageLocale"}},
  };
  for (const auto& manifest : manifests) {
    SCOPED_TRACE(manifest.file);
    const std::string yaml = testsupport::ReadBytes(folder + "/" + manifest.file);
    ASSERT_FALSE(yaml.empty());
    EXPECT_EQ(yaml.find('\t'), std::string::npos) << "YAML allows no tabs for indentation";
    EXPECT_EQ(yaml.find('@'), std::string::npos) << "a template field left unfilled";
    EXPECT_EQ(YamlValue(yaml, "PackageIdentifier"), "Tovarel.Tovarel");
    EXPECT_EQ(YamlValue(yaml, "PackageVersion"), kVersion);
    EXPECT_EQ(YamlValue(yaml, "ManifestType"), manifest.type);
    EXPECT_EQ(YamlValue(yaml, "ManifestVersion"), "1.6.0");
    for (const char* key : manifest.required)
      EXPECT_TRUE(std::regex_search(yaml, std::regex(std::string("(^|\n)[ -]*") + key + ":"))) << key;
  }
  const std::string installer = testsupport::ReadBytes(folder + "/Tovarel.Tovarel.installer.yaml");
  EXPECT_EQ(YamlValue(installer, "InstallerType"), "nullsoft");
  EXPECT_EQ(YamlValue(installer, "Silent"), "/S");
  EXPECT_EQ(YamlValue(installer, "SilentWithProgress"), "/S");
  EXPECT_TRUE(std::regex_match(YamlValue(installer, "InstallerUrl"), std::regex("https://.+-setup\\.exe")));
  const auto sum = RunCommand({"sha256sum", setup});
  EXPECT_EQ(Lower(YamlValue(installer, "InstallerSha256")), sum.output.substr(0, 64)) << "not this installer";
  EXPECT_TRUE(std::regex_match(YamlValue(installer, "ReleaseDate"), std::regex("\\d{4}-\\d{2}-\\d{2}")));
  const std::string version = testsupport::ReadBytes(folder + "/Tovarel.Tovarel.yaml");
  EXPECT_EQ(YamlValue(version, "DefaultLocale"),
            YamlValue(testsupport::ReadBytes(folder + "/Tovarel.Tovarel.locale.ja-JP.yaml"), "PackageLocale"));
}

// The PE header's link time (COFF TimeDateStamp), or nullopt for no PE file.
std::optional<std::uint32_t> LinkTime(const std::string& file) {
  const std::string bytes = testsupport::ReadBytes(file);
  const auto le32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  if (bytes.size() < 0x40 || bytes.compare(0, 2, "MZ") != 0) return std::nullopt;
  const std::uint32_t pe = le32(0x3C);
  if (pe + 12 > bytes.size() || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return std::nullopt;
  return le32(pe + 8);
}

// Two packings of one build give the same ZIP, and no program in the
// packages carries a link time.
TEST_F(WindowsPackageTest, PackagesAreTheSameEachTimeAndCarryNoLinkTime) {
  const std::string config = WindowsBuildDir() + "/CPackConfig.cmake";
  std::vector<std::string> zips;
  testsupport::TempDir first, second;
  for (const testsupport::TempDir* dir : {&first, &second}) {
    const auto packed = RunCommand({TOVAREL_CPACK, "--config", config, "-G", "ZIP", "-B", dir->Path()});
    ASSERT_EQ(packed.exitCode, 0) << packed.output;
    zips.push_back(testsupport::ReadBytes(dir->File("Tovarel-" + kVersion + "-windows.zip")));
    std::this_thread::sleep_for(1100ms);
  }
  ASSERT_FALSE(zips[0].empty());
  EXPECT_TRUE(zips[0] == zips[1]) << "the two ZIPs differ";
  for (const std::string& file : {*scr, *dll, WindowsBuildDir() + "/installer/Tovarel.scr",
                                  WindowsBuildDir() + "/installer/Tovarel.dll"}) {
    EXPECT_EQ(LinkTime(file), std::optional<std::uint32_t>(0)) << file;
  }
}

}  // namespace
