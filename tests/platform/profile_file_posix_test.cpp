// The INI file forms where POSIX permission bits, a read-only mount and a full medium decide what
// may be written.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"

namespace {

using testsupport::ScratchMount;
using testsupport::TempDir;

mode_t Mode(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

std::vector<std::string> Entries(const std::string& directory) {
  return testsupport::EntryNames(directory, "*");
}

TEST(ProfileFile, UpdatesTheFileAsSpelledOnDisk) {
  TempDir dir;
  const std::string original = "[Autorun]\r\nFileNameMovie=old.avi\r\n; keep me\r\n";
  const std::string onDisk = dir.Write("VPLAYER.INI", original);
  ASSERT_EQ(chmod(onDisk.c_str(), 0640), 0);

  platform::WriteProfileString(dir / "vplayer.ini", "autorun", "filenamemovie", "Film.avi");
  platform::WriteProfileString(dir / "vplayer.ini", "Autorun", "FileNameSubtitles", "Film.srt");

  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"VPLAYER.INI"});  // not shadowed
  EXPECT_EQ(dir.Read("VPLAYER.INI"),
            "[Autorun]\r\nFileNameMovie=Film.avi\r\nFileNameSubtitles=Film.srt\r\n; keep me\r\n");
  EXPECT_EQ(Mode(onDisk), 0640u);
  EXPECT_EQ(platform::ReadProfileString(dir / "Vplayer.ini", "AUTORUN", "FileNameMovie"), "Film.avi");
}

// As root a read-only mount; otherwise a file without write permission, which root would ignore.
TEST(ProfileFile, ReadOnlyMediumIsAnErrorAndNothingChanges) {
  TempDir dir;
  const std::string original = "[Movie]\nFName=old.avi\n";
  ScratchMount medium(dir);
  if (!medium.Mounted()) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root but " << medium.WhyNot();
    const std::string path = dir.Write("bplay.ini", original);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_THROW(platform::WriteProfileString(path, "Movie", "FName", "Film.avi"), platform::Error);
    EXPECT_EQ(dir.Read("bplay.ini"), original);
    return;
  }
  const std::string path = medium.Write("bplay.ini", original);
  ASSERT_TRUE(medium.RemountReadOnly());
  EXPECT_THROW(platform::WriteProfileString(path, "Movie", "FName", "Film.avi"), platform::Error);
  EXPECT_EQ(medium.Read("bplay.ini"), original);
  EXPECT_EQ(platform::ReadProfileString(path, "Movie", "FName"), "old.avi");
}

// The replacement cannot be written completely (a full medium as root; a directory that takes no
// new files otherwise): the original stays whole and no temporary file is left behind.
TEST(ProfileFile, AFailedWriteLeavesTheOriginal) {
  TempDir dir;
  const std::string original = "[Movie]\nFName=old.avi\n";
  const std::string bigValue(64 * 1024, 'x');
  if (geteuid() != 0) {
    const std::string path = dir.Write("bplay.ini", original);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_THROW(platform::WriteProfileString(path, "Movie", "FName", bigValue), platform::Error);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(dir.Read("bplay.ini"), original);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"bplay.ini"});
    return;
  }
  ScratchMount medium(dir, 64);
  if (!medium.Mounted()) GTEST_SKIP() << "running as root but " << medium.WhyNot();
  const std::string path = medium.Write("bplay.ini", original);
  medium.Fill();
  EXPECT_THROW(platform::WriteProfileString(path, "Movie", "FName", bigValue), platform::Error);
  EXPECT_EQ(medium.Read("bplay.ini"), original);
  std::vector<std::string> left = Entries(medium.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"bplay.ini", "filler"}));
}
}  // namespace
