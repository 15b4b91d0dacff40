#include "saver/settings/paths.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/saver/support/temp_dir.h"

namespace {

using saver::FolderOf;
using saver::PathSyntax;

TEST(FolderOfTest, WindowsPaths) {
  EXPECT_EQ(FolderOf("C:\\Music\\a.mp3", PathSyntax::Windows), "C:\\Music");
  EXPECT_EQ(FolderOf("C:\\a.mp3", PathSyntax::Windows), "C:");
  EXPECT_EQ(FolderOf("C:a.mp3", PathSyntax::Windows), "C:");
  EXPECT_EQ(FolderOf("a.mp3", PathSyntax::Windows), "");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a.mp3", PathSyntax::Windows), "\\\\server\\share");
  EXPECT_EQ(FolderOf("C:\\Music\\", PathSyntax::Windows), "C:\\Music");
  EXPECT_EQ(FolderOf("C:\\音楽\\曲.wav", PathSyntax::Windows), "C:\\音楽");
  EXPECT_EQ(FolderOf("/music/a.mp3", PathSyntax::Windows), "");  // "/" is no separator there
  EXPECT_EQ(FolderOf("", PathSyntax::Windows), "");
}

TEST(FolderOfTest, PosixPaths) {
  EXPECT_EQ(FolderOf("/music/a.mp3", PathSyntax::Posix), "/music");
  EXPECT_EQ(FolderOf("/a.mp3", PathSyntax::Posix), "/");
  EXPECT_EQ(FolderOf("a.mp3", PathSyntax::Posix), "");
  EXPECT_EQ(FolderOf("music/sub/a.mp3", PathSyntax::Posix), "music/sub");
  EXPECT_EQ(FolderOf("/music/", PathSyntax::Posix), "/music");
  EXPECT_EQ(FolderOf("C:\\Music\\a.mp3", PathSyntax::Posix), "");  // a plain file name there
  EXPECT_EQ(FolderOf("/音楽/曲.mp3", PathSyntax::Posix), "/音楽");
}

TEST(FileExistsTest, OnlyFilesThatOpenForReading) {
  testsupport::TempDir dir;
  const std::string file = dir.File("song.wav");
  testsupport::WriteBytes(file, "RIFF");
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::filesystem::create_directory(dir.File("folder"));
  std::filesystem::create_symlink(file, dir.File("link"));
  std::filesystem::create_symlink(dir.File("nothing"), dir.File("dangling"));

  EXPECT_TRUE(saver::FileExists(file));
  EXPECT_TRUE(saver::FileExists(dir.File("link")));
  EXPECT_FALSE(saver::FileExists(dir.File("dangling")));
  EXPECT_FALSE(saver::FileExists(dir.File("missing.wav")));
  EXPECT_FALSE(saver::FileExists(dir.File("folder")));
  EXPECT_FALSE(saver::FileExists(dir.File("folder") + "/"));
  EXPECT_FALSE(saver::FileExists(dir.Path()));
  EXPECT_FALSE(saver::FileExists(fifo));  // and does not wait for a writer
  EXPECT_FALSE(saver::FileExists(""));
  EXPECT_FALSE(saver::FileExists("/"));
  EXPECT_TRUE(saver::FileExists(file + "/"));  // one trailing separator is dropped...
  EXPECT_FALSE(saver::FileExists(file + "//"));  // ...and only one
}

}  // namespace
