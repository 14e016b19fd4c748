// The INI file forms where POSIX permission bits, a read-only mount and a full medium decide what
// may be written.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/profile_update.h"
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

using Kind = platform::ProfileUpdate::Kind;
platform::ProfileUpdate Update(const std::string& path, const char* section, const char* key, const char* value) {
  return testsupport::UpdateProfileFile(path, {{section, key, value}});
}
std::string Read(const std::string& path, const char* section, const char* key) {
  return platform::ProfileRead(platform::ReadProfileContent(path).value_or(""), section, key);
}

TEST(ProfileFile, UpdatesTheFileAsSpelledOnDisk) {
  TempDir dir;
  const std::string original = "[Autorun]\r\nFileNameMovie=old.avi\r\n; keep me\r\n";
  const std::string onDisk = dir.Write("VPLAYER.INI", original);
  ASSERT_EQ(chmod(onDisk.c_str(), 0640), 0);

  EXPECT_EQ(Update(dir / "vplayer.ini", "autorun", "filenamemovie", "Film.avi").kind, Kind::Written);
  EXPECT_EQ(Update(dir / "vplayer.ini", "Autorun", "FileNameSubtitles", "Film.srt").kind, Kind::Written);

  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"VPLAYER.INI"});  // not shadowed
  EXPECT_EQ(dir.Read("VPLAYER.INI"),
            "[Autorun]\r\nFileNameMovie=Film.avi\r\nFileNameSubtitles=Film.srt\r\n; keep me\r\n");
  EXPECT_EQ(Mode(onDisk), 0640u);
  EXPECT_EQ(Read(dir / "Vplayer.ini", "AUTORUN", "FileNameMovie"), "Film.avi");
}

// A file merely without write permission is no stand-in: the start-up gives its owner the write
// bit back and writes it.
TEST(ProfileFile, ReadOnlyMediumIsAnErrorAndNothingChanges) {
  TempDir dir;
  const std::string original = "[Movie]\nFName=old.avi\n";
  ScratchMount medium(dir);
  if (!medium.Mounted()) GTEST_SKIP() << "a read-only medium needs a mount: " << medium.WhyNot();
  const std::string path = medium.Write("bplay.ini", original);
  ASSERT_TRUE(medium.RemountReadOnly());
  EXPECT_EQ(Update(path, "Movie", "FName", "Film.avi").reason, "cannot be made writable: Read-only file system");
  EXPECT_EQ(medium.Read("bplay.ini"), original);
  EXPECT_EQ(Read(path, "Movie", "FName"), "old.avi");
}

// The replacement cannot be written completely on a full medium: the original stays whole and no
// temporary file is left behind.
TEST(ProfileFile, AFailedWriteLeavesTheOriginal) {
  TempDir dir;
  const std::string original = "[Movie]\nFName=old.avi\n";
  ScratchMount medium(dir, 64);
  if (!medium.Mounted()) GTEST_SKIP() << "a full medium needs a mount: " << medium.WhyNot();
  const std::string path = medium.Write("bplay.ini", original);
  medium.Fill();
  std::vector<platform::ProfileEdit> edits;  // 80 KB of values, each one a value the file can hold
  for (int i = 0; i < 40; ++i) edits.push_back({"Movie", "Key" + std::to_string(i), std::string(2000, 'x')});
  EXPECT_EQ(testsupport::UpdateProfileFile(path, edits).kind, Kind::Failed);
  EXPECT_EQ(medium.Read("bplay.ini"), original);
  std::vector<std::string> left = Entries(medium.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"bplay.ini", "filler"}));
}
}  // namespace
