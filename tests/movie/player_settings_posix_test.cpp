// The players' INI files updated on a real file system, where POSIX permission bits, a read-only
// mount and a full medium decide what may be written.
#include "movie/player_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "movie/discovery.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/ini_on_disk.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"

namespace {

using movie::IniOutcome;
using Kind = platform::ProfileUpdate::Kind;
using movie::PlayerKind;
using testsupport::TempDir;
using testsupport::UpdateOnDisk;

mode_t Mode(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Whatever is written, the file loses its read-only mark, and no file is left beside it.
TEST(PlayerSettingsOnDisk, ResetsTheReadOnlyMarkAndWritesWhatWasPlanned) {
  const std::string head = "[Autorun]\r\nFileNameMovie=Old.avi\r\nFileNameSubtitles=Old.srt\r\n";
  const std::string nearlyFull = head + std::string(platform::kProfileFileMax - 1 - head.size(), ';');
  // Far beyond any player's settings: refused rather than truncated.
  const std::string huge = "[Autorun]\n" + std::string(2u << 20, ';');
  struct Case {
    const char* what;
    const char* onDisk;
    PlayerKind kind;
    std::string movie, subtitle, before, after;
    Kind outcome;
    const char* leftover;  // a temporary file an earlier, killed start left beside it, or ""
  };
  const Case cases[] = {
      {"vplayer, keys replaced", "VPlayer.INI", PlayerKind::VPlayer, "Film.avi", "eng.srt",
       "[autorun]\nFileNameMovie=Old.avi\n", "[autorun]\nFileNameMovie=Film.avi\nFileNameSubtitles=eng.srt\n",
       Kind::Written, ".VPlayer.INI.autorun-a1B2c3"},
      {"bplayer, sections made", "bplay.ini", PlayerKind::BSPlayer, "Film.avi", "Film.srt", "",
       "[Movie]\r\nFName=Film.avi\r\nDirectory=.\r\n[Subtitles]\r\nSub1=Film.srt\r\nDirectory=.\r\n",
       Kind::Written, ""},
      {"no subtitle", "vplayer.ini", PlayerKind::VPlayer, "Film.avi", "", head, head, Kind::Skipped, ""},
      {"a line break in the movie's name", "vplayer.ini", PlayerKind::VPlayer, "Fi\nlm.avi", "Film.srt", head, head,
       Kind::Skipped, ""},
      {"1,048,575 bytes that the write would grow", "vplayer.ini", PlayerKind::VPlayer, "Film.avi", "Film.srt",
       nearlyFull, nearlyFull, Kind::Skipped, ""},
      {"too large to read", "VPLAYER.INI", PlayerKind::VPlayer, "Film.avi", "Film.srt", huge, huge,
       Kind::Failed, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    const std::string path = launcher.Write(c.onDisk, c.before);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    if (*c.leftover) launcher.Write(c.leftover, "half a write");

    const IniOutcome outcome = UpdateOnDisk(launcher.path() + "/", c.kind, c.movie, c.subtitle);
    EXPECT_EQ(outcome.update.kind, c.outcome);
    if (c.outcome == Kind::Failed) {
      EXPECT_EQ(outcome.update.reason, "Unable to write to " + launcher.path() + "/vplayer.ini");
    }
    EXPECT_EQ(launcher.Read(c.onDisk), c.after);
    EXPECT_TRUE(Mode(path) & S_IWUSR);
    EXPECT_EQ(testsupport::EntryNames(launcher.path(), "*"), std::vector<std::string>{c.onDisk});
  }
}

// A launcher on a read-only disc, or on a medium without a free block, leaves its INI files as they
// lie: no error, no write, not even the mode changes.
TEST(PlayerSettingsOnDisk, MediumThatCannotTakeWrites) {
  for (const bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly ? "read-only medium" : "full medium");
    TempDir parent;
    testsupport::ScratchMount medium(parent, 64);
    if (!medium.Mounted()) GTEST_SKIP() << medium.WhyNot();
    const std::string before = "[Movie]\nFName=Old.avi\n";
    ASSERT_EQ(::chmod(medium.Write("bplay.ini", before).c_str(), 0444), 0);
    if (readOnly) {
      ASSERT_TRUE(medium.RemountReadOnly());
    } else {
      medium.Fill();
    }
    const IniOutcome outcome = UpdateOnDisk(medium.path() + "/", PlayerKind::BSPlayer, "Film.avi", "Film.srt");
    EXPECT_EQ(outcome.update.kind, Kind::Skipped);
    EXPECT_EQ(outcome.update.reason, "drive not ready");
    EXPECT_EQ(outcome.path, "") << "the file is not even opened";
    EXPECT_EQ(medium.Read("bplay.ini"), before);
    EXPECT_EQ(Mode(medium / "bplay.ini"), 0444u);
  }
}

}  // namespace
