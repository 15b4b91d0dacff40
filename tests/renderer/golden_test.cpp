// Frames of the real renderer under Xvfb and Mesa, against committed goldens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/child_process.h"
#include "tests/support/image_compare.h"
#include "tools/xclient/png_file.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;

// Plain blue sky and the first flyers (1, 200); the cloudy sky just after
// the first backdrop's respawn, turned and folded (700); both skies turning,
// the cloudy one at its third picture and well folded (2000).
const char* const Frames[] = {"frame_0001.png", "frame_0200.png", "frame_0700.png", "frame_2000.png"};

fs::path FreshDir(const std::string& name) {
  fs::path dir = fs::temp_directory_path() / ("tovarel-" + name + "-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

bool Capture(const fs::path& dir) {
  testsupport::ChildProcess capture;
  if (!capture.Start(TOVAREL_CAPTURE_FRAMES, {dir.string(), "1", "200", "700", "2000"})) return false;
  const auto rc = capture.Wait(120);
  return rc && *rc == 0;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RendererFrames, MatchTheGoldenImagesAndRepeatExactly) {
  testsupport::XvfbServer xvfb("1024x768x24");
  ASSERT_TRUE(xvfb.Running());
  const fs::path first = FreshDir("frames-a"), second = FreshDir("frames-b");
  ASSERT_TRUE(Capture(first));
  ASSERT_TRUE(Capture(second));
  // The GL that drew the goldens draws the same bytes again; another one
  // (another Mesa, an llvmpipe of other vector width) may round otherwise.
  const std::string goldenGl = ReadText(fs::path(TOVAREL_GOLDEN_DIR) / "gl.txt");
  const std::string gl = ReadText(first / "gl.txt");
  ASSERT_FALSE(gl.empty());
  const bool sameGl = gl == goldenGl;
  if (!sameGl) std::cout << "other GL than the goldens':\n" << gl << "goldens:\n" << goldenGl;
  for (const char* name : Frames) {
    const auto a = xclient::ReadPng((first / name).string());
    const auto b = xclient::ReadPng((second / name).string());
    const auto golden = xclient::ReadPng(std::string(TOVAREL_GOLDEN_DIR) + "/" + name);
    ASSERT_TRUE(a && b && golden) << name;
    EXPECT_EQ(a->width, 1024);
    EXPECT_EQ(a->height, 768);
    // Two runs of the same program show the same animation, to the byte.
    EXPECT_EQ(a->rgb, b->rgb) << name;
    const auto diff = testsupport::Compare(a->width, a->height, a->rgb, golden->width, golden->height, golden->rgb);
    if (sameGl) {
      EXPECT_TRUE(testsupport::Identical(diff)) << name << ": " << testsupport::Describe(diff);
    } else {
      EXPECT_TRUE(testsupport::WithinOtherGlTolerance(diff)) << name << ": " << testsupport::Describe(diff);
    }
  }
  const auto one = xclient::ReadPng((first / "frame_0001.png").string());
  const auto two = xclient::ReadPng((first / "frame_0200.png").string());
  ASSERT_TRUE(one && two);
  EXPECT_FALSE(testsupport::WithinOtherGlTolerance(
      testsupport::Compare(one->width, one->height, one->rgb, two->width, two->height, two->rgb)))
      << "the scene should move in 200 frames";
  fs::remove_all(first);
  fs::remove_all(second);
}

}  // namespace
