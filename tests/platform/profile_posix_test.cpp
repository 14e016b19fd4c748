// One update of an INI file on a real file system: what it refuses to touch, and what the
// replacement keeps.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/profile_update.h"
#include "support/temp_dir.h"

namespace {

using platform::ProfileUpdate;
using testsupport::TempDir;

struct stat Stat(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info;
}

const std::vector<platform::ProfileEdit> kEdits = {{"Autorun", "FileNameMovie", "$(touch PWNED).avi"},
                                                   {"Autorun", "FileNameSubtitles", "Film.srt"}};

// A disc's INI file that leads outside the disc: neither the outside file's mode nor its bytes
// change, and neither does the link.
TEST(UpdateProfileFile, NeverThroughALinkOrAHardLink) {
  TempDir outside, disc;
  const std::string victim = outside.Write("victim.ini", "[Autorun]\nFileNameMovie=mine.avi\n");
  ASSERT_EQ(chmod(victim.c_str(), 0444), 0);
  ASSERT_EQ(symlink(victim.c_str(), (disc / "vplayer.ini").c_str()), 0);
  ASSERT_EQ(link(victim.c_str(), (disc / "bplay.ini").c_str()), 0);
  struct Row {
    const char* name;
    const char* reason;
  };
  for (const Row& row : {Row{"vplayer.ini", "a symbolic link"}, Row{"BPLAY.INI", "more than one hard link"}}) {
    for (const auto& edits : {kEdits, std::vector<platform::ProfileEdit>{}}) {
      SCOPED_TRACE(std::string(row.name) + (edits.empty() ? " reset only" : " with edits"));
      const ProfileUpdate update = testsupport::UpdateProfileFile(disc / row.name, edits);
      EXPECT_EQ(update.kind, ProfileUpdate::Kind::Skipped);
      EXPECT_EQ(update.reason, row.reason);
      EXPECT_EQ(Stat(victim).st_mode & 07777, 0444u);
      EXPECT_EQ(outside.Read("victim.ini"), "[Autorun]\nFileNameMovie=mine.avi\n");
    }
  }
  EXPECT_TRUE(S_ISLNK(Stat(disc / "vplayer.ini").st_mode));
}

TEST(UpdateProfileFile, SkipsWhatIsNoIniFile) {
  TempDir dir;
  dir.MakeDir("vplayer.ini");
  ASSERT_EQ(mkfifo((dir / "bplay.ini").c_str(), 0644), 0);
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "vplayer.ini", kEdits).reason, "not a regular file");
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "bplay.ini", kEdits).reason, "not a regular file");
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "missing.ini", kEdits).kind, ProfileUpdate::Kind::Skipped);
  const std::string utf16 = dir.Write("u.ini", std::string("\xFF\xFE[\0A\0]\0", 8));
  const ProfileUpdate update = testsupport::UpdateProfileFile(utf16, kEdits);
  EXPECT_EQ(update.kind, ProfileUpdate::Kind::Skipped);
  EXPECT_EQ(update.reason, "UTF-16");
  EXPECT_EQ(dir.Read("u.ini"), std::string("\xFF\xFE[\0A\0]\0", 8));
}

// All keys in one replace: the file is a new inode afterwards, holds every key, and keeps the
// original's owner, group and mode (with the owner's write bit, the reset).
TEST(UpdateProfileFile, OneReplaceKeepsOwnerGroupAndMode) {
  TempDir dir;
  const std::string path = dir.Write("VPLAYER.INI", "\xEF\xBB\xBF[Autorun]\r\nFileNameMovie=old.avi\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0440), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 1234, 1234), 0);
  }
  const struct stat before = Stat(path);

  const ProfileUpdate update = testsupport::UpdateProfileFile(dir / "vplayer.ini", kEdits);
  ASSERT_EQ(update.kind, ProfileUpdate::Kind::Written) << update.reason;
  const struct stat after = Stat(path);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(dir.Read("VPLAYER.INI"),
            "\xEF\xBB\xBF[Autorun]\r\nFileNameMovie=$(touch PWNED).avi\r\nFileNameSubtitles=Film.srt\r\n");
  EXPECT_EQ(testsupport::EntryNames(dir.path(), "*"), std::vector<std::string>{"VPLAYER.INI"});
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "vplayer.ini", kEdits).kind, ProfileUpdate::Kind::Unchanged);
  EXPECT_EQ(Stat(path).st_ino, after.st_ino);
}

TEST(UpdateProfileFile, ResetsTheModeWithoutEdits) {
  TempDir dir;
  const std::string path = dir.Write("bplay.ini", "[Movie]\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(testsupport::UpdateProfileFile(path, {}).kind, ProfileUpdate::Kind::Unchanged);
  EXPECT_EQ(Stat(path).st_mode & 07777, 0644u);
  EXPECT_EQ(dir.Read("bplay.ini"), "[Movie]\n");
}

}  // namespace
