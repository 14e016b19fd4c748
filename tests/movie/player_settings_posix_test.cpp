// Writing the players' INI files where POSIX permission bits, a read-only mount and a full medium
// decide what may be written.
#include "movie/player_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"

namespace {

using movie::IniOutcome;
using movie::IniWrite;
using testsupport::ScopedChdir;
using testsupport::TempDir;

using movie::PlayerKind;

mode_t Mode(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

std::size_t EntryCount(const TempDir& dir) { return testsupport::EntryNames(dir.path(), "*").size(); }

struct WriteCase {
  const char* what;
  const char* onDisk;  // as it lies in the launcher's directory
  PlayerKind kind;
  std::string subtitle;
  std::string before;
  std::string after;
  std::vector<IniWrite> writes;
};

const WriteCase kWriteCases[] = {
    {"vplayer, new section", "vplayer.ini", PlayerKind::VPlayer, "Film.srt", "",
     "[Autorun]\r\nFileNameMovie=Film.avi\r\nFileNameSubtitles=Film.srt\r\n",
     {{"vplayer.ini", "Autorun", "FileNameMovie", "Film.avi"},
      {"vplayer.ini", "Autorun", "FileNameSubtitles", "Film.srt"}}},
    {"vplayer, keys replaced in place, others kept", "VPlayer.INI", PlayerKind::VPlayer, "eng.srt",
     "[Video]\nMode=2\n[autorun]\nfilenamesubtitles = old.srt\nKeep=yes\nFileNameMovie=Old.avi\n[Zorvalin]\nParam=/x\n",
     "[Video]\nMode=2\n[autorun]\nfilenamesubtitles = eng.srt\nKeep=yes\nFileNameMovie=Film.avi\n[Zorvalin]\nParam=/x\n",
     {{"vplayer.ini", "Autorun", "FileNameMovie", "Film.avi"},
      {"vplayer.ini", "Autorun", "FileNameSubtitles", "eng.srt"}}},
    {"bplayer, sections made in write order", "bplay.ini", PlayerKind::BSPlayer, "Film.srt", "",
     "[Movie]\r\nFName=Film.avi\r\nDirectory=.\r\n[Subtitles]\r\nSub1=Film.srt\r\nDirectory=.\r\n",
     {{"bplay.ini", "Movie", "FName", "Film.avi"},
      {"bplay.ini", "Subtitles", "Sub1", "Film.srt"},
      {"bplay.ini", "Movie", "Directory", "."},
      {"bplay.ini", "Subtitles", "Directory", "."}}},
    {"bplayer, other keys untouched", "BPLAY.INI", PlayerKind::BSPlayer, "a b.sub",
     "[Subtitles]\nDirectory=C:\\subs\nSub2=x.srt\n[Movie]\nFName=old.avi\nPos=123\n",
     "[Subtitles]\nDirectory=.\nSub2=x.srt\nSub1=a b.sub\n[Movie]\nFName=Film.avi\nPos=123\nDirectory=.\n",
     {{"bplay.ini", "Movie", "FName", "Film.avi"},
      {"bplay.ini", "Subtitles", "Sub1", "a b.sub"},
      {"bplay.ini", "Movie", "Directory", "."},
      {"bplay.ini", "Subtitles", "Directory", "."}}},
    {"vplayer without subtitle", "vplayer.ini", PlayerKind::VPlayer, "",
     "[Autorun]\nFileNameMovie=Old.avi\n", "[Autorun]\nFileNameMovie=Old.avi\n", {}},
    {"bplayer with a two-character subtitle name", "bplay.ini", PlayerKind::BSPlayer, "ab",
     "[Movie]\nFName=Old.avi\n", "[Movie]\nFName=Old.avi\n", {}},
};

TEST(WritePlayerSettings, WritesTheKeysInOrderAndRemovesTheReadOnlyMark) {
  for (const WriteCase& c : kWriteCases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    const std::string path = launcher.Write(c.onDisk, c.before);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(movie::PlayerSettingsWrites(c.kind, "Film.avi", c.subtitle), c.writes);

    const IniOutcome outcome = movie::WritePlayerSettings(launcher.path() + "/", platform::ListDirectory(launcher.path()),
                                                          c.kind, "Film.avi", c.subtitle);
    EXPECT_EQ(outcome.file, movie::PlayerOf(c.kind).iniWriteName);
    EXPECT_EQ(outcome.writes, c.writes);
    if (c.writes.empty()) {
      EXPECT_EQ(outcome.kind, IniOutcome::Kind::Skipped);
      EXPECT_EQ(outcome.reason, "no subtitle file");
    } else {
      EXPECT_EQ(outcome.kind, IniOutcome::Kind::Written);
    }
    EXPECT_EQ(launcher.Read(c.onDisk), c.after);
    EXPECT_TRUE(Mode(path) & S_IWUSR);
    EXPECT_EQ(EntryCount(launcher), 1u) << "no file may be created";
  }
}

TEST(WritePlayerSettings, LeavesEverythingAloneWhenItMustNotWrite) {
  struct Case {
    const char* what;
    bool relativeDirectory;
    bool iniExists;
    bool iniIsDirectory;
    IniOutcome::Kind vplayer;
  };
  const Case cases[] = {
      {"launcher directory not absolute", true, true, false, IniOutcome::Kind::Skipped},
      {"no ini file", false, false, false, IniOutcome::Kind::Absent},
      {"a directory named like the ini file", false, false, true, IniOutcome::Kind::Absent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    const std::string before = "[Autorun]\nFileNameMovie=Old.avi\n";
    if (c.iniExists) {
      ASSERT_EQ(::chmod(launcher.Write("vplayer.ini", before).c_str(), 0444), 0);
    }
    if (c.iniIsDirectory) launcher.MakeDir("vplayer.ini");
    launcher.Write("other.ini", "[Autorun]\n");
    ScopedChdir chdir(launcher.path() + "/..");
    const std::string leaf = launcher.path().substr(launcher.path().rfind('/') + 1);
    const std::string directory = c.relativeDirectory ? leaf + "/" : launcher.path() + "/";

    const platform::Listing listing = platform::ListDirectory(directory);
    const IniOutcome vplayer = movie::WritePlayerSettings(directory, listing, PlayerKind::VPlayer, "Film.avi", "Film.srt");
    EXPECT_EQ(vplayer.kind, c.vplayer);
    EXPECT_TRUE(vplayer.writes.empty());
    if (c.relativeDirectory) {
      EXPECT_EQ(vplayer.reason, "not on a drive");
    }
    EXPECT_EQ(movie::WritePlayerSettings(directory, listing, PlayerKind::BSPlayer, "Film.avi", "Film.srt").kind,
              IniOutcome::Kind::Absent);
    EXPECT_EQ(launcher.Read("other.ini"), "[Autorun]\n");
    EXPECT_EQ(EntryCount(launcher), c.iniExists || c.iniIsDirectory ? 2u : 1u);
    if (c.iniExists) {
      EXPECT_EQ(launcher.Read("vplayer.ini"), before);
      EXPECT_EQ(Mode(launcher / "vplayer.ini"), 0444u);
    }
  }
}

// Files the start-up leaves as they are, with the reason the inspector shows: a name that the file
// cannot hold as one value (the attributes are reset all the same), a file that would grow past
// what the launcher reads, and any file at all when the launcher's directory is unknown.
TEST(WritePlayerSettings, SkipsWhatItCannotWriteAsThePlayersWouldRead) {
  struct Case {
    const char* what;
    std::string movie, subtitle, before;
    bool knownDirectory;
    std::string reason;
    mode_t modeAfter;
  };
  const std::string head = "[Autorun]\r\nFileNameMovie=Old.avi\r\nFileNameSubtitles=Old.srt\r\n";
  const std::string nearlyFull = head + std::string(platform::kProfileFileMax - 1 - head.size(), ';');
  const Case cases[] = {
      {"a line break in the movie's name", "Fi\nlm.avi", "Film.srt", head, true,
       "name cannot be written as an INI value", 0644},
      {"a CR in the subtitle's name", "Film.avi", "Fi\rlm.srt", head, true, "name cannot be written as an INI value",
       0644},
      {"a name with a blank at its end", "Film.avi ", "Film.srt", head, true,
       "name cannot be written as an INI value", 0644},
      {"1,048,575 bytes that the write would grow", "Film.avi", "Film.srt", nearlyFull, true, "too large", 0644},
      {"launcher directory unknown", "Film.avi", "Film.srt", head, false, "launcher directory unknown", 0444},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    const std::string path = launcher.Write("vplayer.ini", c.before);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string directory = c.knownDirectory ? launcher.path() + "/" : "";
    const IniOutcome outcome = movie::WritePlayerSettings(directory, platform::ListDirectory(launcher.path()),
                                                          PlayerKind::VPlayer, c.movie, c.subtitle);
    EXPECT_EQ(outcome.kind, IniOutcome::Kind::Skipped);
    EXPECT_EQ(outcome.reason, c.reason);
    EXPECT_TRUE(outcome.writes.empty());
    EXPECT_EQ(launcher.Read("vplayer.ini"), c.before);
    EXPECT_EQ(Mode(path), c.modeAfter);
    EXPECT_EQ(EntryCount(launcher), 1u);
  }
}

// The drive test takes the code of the listing the start-up already made: a listing that found no
// medium means no write, even though the file is there by the time of the write.
TEST(WritePlayerSettings, ListingThatFoundNoMediumMeansNoWrite) {
  TempDir launcher;
  const std::string before = "[Autorun]\nFileNameMovie=Old.avi\n";
  ASSERT_EQ(::chmod(launcher.Write("vplayer.ini", before).c_str(), 0444), 0);
  platform::Listing listing = platform::ListDirectory(launcher.path());
  for (const int code : {ENOMEDIUM, EIO}) {
    listing.code = code;
    const IniOutcome outcome =
        movie::WritePlayerSettings(launcher.path() + "/", listing, PlayerKind::VPlayer, "Film.avi", "Film.srt");
    EXPECT_EQ(outcome.kind, IniOutcome::Kind::Skipped);
    EXPECT_EQ(outcome.reason, "drive not ready");
    EXPECT_EQ(launcher.Read("vplayer.ini"), before);
    EXPECT_EQ(Mode(launcher / "vplayer.ini"), 0444u);
  }
}

// A launcher on a read-only disc, or on a medium without a free block, leaves its INI files as they
// lie: no error, no write, not even the mode changes.
TEST(WritePlayerSettings, MediumThatCannotTakeWrites) {
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
    const IniOutcome outcome = movie::WritePlayerSettings(medium.path() + "/", platform::ListDirectory(medium.path()),
                                                          PlayerKind::BSPlayer, "Film.avi", "Film.srt");
    EXPECT_EQ(outcome.kind, IniOutcome::Kind::Skipped);
    EXPECT_TRUE(outcome.writes.empty());
    EXPECT_EQ(medium.Read("bplay.ini"), before);
    EXPECT_EQ(Mode(medium / "bplay.ini"), 0444u);
  }
}


}  // namespace
