#include "movie/player_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
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

std::size_t EntryCount(const TempDir& dir) { return platform::SearchDirectory(dir.path(), "*").names.size(); }

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

TEST(WritePlayerSettings, FailedWriteNamesThePathAndStopsThere) {
  TempDir launcher;
  // Far beyond any player's settings: the profile writer refuses it rather than truncate it.
  const std::string huge = "[Autorun]\n" + std::string(2u << 20, ';');
  launcher.Write("VPLAYER.INI", huge);
  const std::string directory = launcher.path() + "/";
  const IniOutcome outcome =
      movie::WritePlayerSettings(directory, platform::ListDirectory(directory), PlayerKind::VPlayer, "Film.avi", "Film.srt");
  EXPECT_EQ(outcome.kind, IniOutcome::Kind::Failed);
  EXPECT_EQ(outcome.error, "Unable to write to " + directory + "vplayer.ini");
  EXPECT_TRUE(outcome.writes.empty());
  EXPECT_EQ(launcher.Read("VPLAYER.INI"), huge);
}

struct EntryCase {
  const char* what;
  PlayerKind kind;
  std::string ini;  // "" for no ini file at all
  bool before;
  bool expected;
};

const EntryCase kEntryCases[] = {
    {"vplayer movie exists", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Film.avi\n", false, true},
    {"other letter case, blanks, quotes", PlayerKind::VPlayer, "[AUTORUN]\nfilenamemovie= \"  FILM.AVI \" \n",
     false, true},
    {"movie missing, Sub1 exists", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=Film.srt\n", false, true},
    {"both missing", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=Gone.srt\n", true,
     false},
    {"movie missing, Sub1 too short", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=Gone.avi\n[Subtitles]\nSub1=ab\n", true, false},
    {"entry of two characters keeps true", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie=ab\n[Subtitles]\nSub1=Film.srt\n", true, true},
    {"entry of two characters keeps false, Sub1 unread", PlayerKind::VPlayer,
     "[Autorun]\nFileNameMovie= ab \n[Subtitles]\nSub1=Film.srt\n", false, false},
    {"entry naming a directory", PlayerKind::VPlayer, "[Autorun]\nFileNameMovie=Folder.avi\n", true, false},
    {"full path", PlayerKind::VPlayer, "", false, false},  // filled in below
    {"missing file keeps true", PlayerKind::VPlayer, "", true, true},
    {"bplayer reads Movie FName", PlayerKind::BSPlayer, "[Movie]\nFName=Film.avi\n", false, true},
    {"bplayer ignores the Autorun section", PlayerKind::BSPlayer, "[Autorun]\nFileNameMovie=Film.avi\n", false,
     false},
    {"bplayer Sub1 fallback", PlayerKind::BSPlayer, "[Movie]\nFName=Gone.avi\n[Subtitles]\nSub1=film.SRT\n", false,
     true},
};

TEST(ReadPlayerMovieEntry, SetsTheFlagFromTheEntryOrSub1) {
  for (EntryCase c : kEntryCases) {
    SCOPED_TRACE(c.what);
    TempDir movieDir, launcher;
    movieDir.Write("Film.avi", "RIFF");
    movieDir.Write("Film.srt", "1");
    movieDir.MakeDir("Folder.avi");
    movieDir.Write("ab", "short names are never trusted");
    if (std::string(c.what) == "full path") {
      c.ini = "[Autorun]\nFileNameMovie=" + (movieDir / "Film.avi") + "\n";
      c.expected = true;
    }
    if (!c.ini.empty()) launcher.Write("settings.ini", c.ini);
    ScopedChdir chdir(movieDir.path());
    EXPECT_EQ(movie::ReadPlayerMovieEntry(launcher / "settings.ini", c.kind).value_or(c.before), c.expected);
  }
}

TEST(ReadPlayerParam, TrimsParamAndReadsTheMovieEntryAsVPlayers) {
  struct Case {
    const char* what;
    const char* onDisk;  // "" for no file
    std::string ini;
    bool before;
    std::string param;
    bool after;
  };
  const Case cases[] = {
      {"missing file leaves the flag", "", "", true, "", true},
      {"blank-only Param", "vplayer.ini", "[Zorvalin]\nParam=   \t \n", false, "", false},
      {"trimmed, inner blanks kept", "VPLAYER.INI", "[zorvalin]\nparam=  /A  /F \n", false, "/A  /F", false},
      {"movie entry read", "Vplayer.ini", "[Zorvalin]\nParam=/x\n[Autorun]\nFileNameMovie=Film.avi\n", false, "/x",
       true},
      {"no Param, movie entry still read", "Vplayer.ini", "[Autorun]\nFileNameMovie=Gone.avi\n", true, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir movieDir, launcher;
    movieDir.Write("Film.avi", "RIFF");
    if (*c.onDisk) launcher.Write(c.onDisk, c.ini);
    ScopedChdir chdir(movieDir.path());
    const movie::PlayerParam read = movie::ReadPlayerParam(launcher.path() + "/", "Vplayer.ini");
    EXPECT_EQ(read.param, c.param);
    EXPECT_EQ(read.playerKnowsMovie.value_or(c.before), c.after);
  }
}

TEST(ReadPlayerParam, ReadsAnyFileAsVPlayers) {
  TempDir movieDir, launcher;
  movieDir.Write("Film.avi", "RIFF");
  launcher.Write("bplay.ini", "[Movie]\nFName=Film.avi\n[Autorun]\nFileNameMovie=Gone.avi\n");
  ScopedChdir chdir(movieDir.path());
  const movie::PlayerParam read = movie::ReadPlayerParam(launcher.path() + "/", "bplay.ini");
  EXPECT_EQ(read.param, "");
  EXPECT_EQ(read.playerKnowsMovie, std::optional<bool>(false));
}

TEST(ReadFilmName, TrimmedOrEmpty) {
  struct Case {
    const char* what;
    const char* onDisk;
    std::string ini;
    std::string expected;
  };
  const Case cases[] = {
      {"missing file", "", "", ""},
      {"blanks only", "Vplayer.ini", "[Zorvalin]\nFilmname= \t \n", ""},
      {"trimmed", "VPLAYER.INI", "[ZORVALIN]\nFILMNAME=  Heat 1995 \r\n", "Heat 1995"},
      {"other section", "Vplayer.ini", "[Autorun]\nFilmname=Heat\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    if (*c.onDisk) launcher.Write(c.onDisk, c.ini);
    EXPECT_EQ(movie::ReadFilmName(launcher.path() + "/", platform::ListDirectory(launcher.path()), "Vplayer.ini"),
              c.expected);
  }
}

// A movie called "film" takes the title stored in VPlayer's file, else in BSPlayer's.
TEST(ReadPlayersFilmName, VPlayerFirstThenBSPlayer) {
  struct Case {
    const char* what;
    std::string vplayer, bplay;  // "" for no file
    std::string expected;
  };
  const Case cases[] = {
      {"both hold a name", "[Zorvalin]\nFilmname=Das Boot\n", "[Zorvalin]\nFilmname=Other\n", "Das Boot"},
      {"vplayer's is blank", "[Zorvalin]\nFilmname=  \n", "[Zorvalin]\nFilmname=Das Boot\n", "Das Boot"},
      {"only bplay.ini", "", "[zorvalin]\nfilmname=Das Boot\n", "Das Boot"},
      {"neither holds one", "[Autorun]\n", "[Movie]\n", ""},
      {"no files", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir launcher;
    if (!c.vplayer.empty()) launcher.Write("VPLAYER.INI", c.vplayer);
    if (!c.bplay.empty()) launcher.Write("bplay.ini", c.bplay);
    EXPECT_EQ(movie::ReadPlayersFilmName(launcher.path() + "/", platform::ListDirectory(launcher.path())), c.expected);
  }
}

}  // namespace
