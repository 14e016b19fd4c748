// The players' INI files on Windows: the read-only attribute that the start-up resets, the
// replace that leaves nothing behind, and the files it must leave alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "movie/player_settings.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/ini_on_disk.h"
#include "support/profile_update.h"
#include "support/temp_dir.h"
#include "windows/win_support.h"

namespace {

using movie::IniOutcome;
using Kind = platform::ProfileUpdate::Kind;
using movie::PlayerKind;
using testsupport::TempDir;
using wintest::Attributes;
using wintest::Native;

constexpr DWORD kMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::vector<std::string> Names(const std::string& directory) {
  return testsupport::EntryNames(directory, "*");
}

// A file as players and disc authors leave them: read-only, sometimes hidden and system too.
TEST(WritePlayerSettingsWin, ReadOnlyFilesLoseTheirMarksAndTakeTheKeys) {
  const struct {
    const char* what;
    const char* onDisk;
    PlayerKind kind;
    const char* subtitle;
    std::string before, after;
    Kind outcome;
  } rows[] = {
      {"vplayer, read-only", "VPLAYER.INI", PlayerKind::VPlayer, "Film.srt", "[Video]\r\nMode=2\r\n",
       "[Video]\r\nMode=2\r\n[Autorun]\r\nFileNameMovie=Film.avi\r\nFileNameSubtitles=Film.srt\r\n",
       Kind::Written},
      {"bplayer, other keys kept", "bplay.ini", PlayerKind::BSPlayer, "Film.srt",
       "[Movie]\nFName=old.avi\nPos=12\n",
       "[Movie]\nFName=Film.avi\nPos=12\nDirectory=.\n[Subtitles]\nSub1=Film.srt\nDirectory=.\n",
       Kind::Written},
      {"no subtitle: the marks go, the content stays", "vplayer.ini", PlayerKind::VPlayer, "",
       "[Autorun]\nFileNameMovie=old.avi\n", "[Autorun]\nFileNameMovie=old.avi\n", Kind::Skipped},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir launcher;
    const std::string directory = Native(launcher);
    launcher.Write(row.onDisk, row.before);
    ASSERT_TRUE(SetFileAttributesA((directory + row.onDisk).c_str(), kMarks));
    const IniOutcome outcome = testsupport::UpdateOnDisk(directory, row.kind, "Film.avi", row.subtitle);
    EXPECT_EQ(outcome.update.kind, row.outcome) << outcome.update.reason;
    EXPECT_EQ(launcher.Read(row.onDisk), row.after);
    EXPECT_EQ(Attributes(directory + row.onDisk) & kMarks, 0u);
    EXPECT_EQ(Names(directory), std::vector<std::string>{row.onDisk});  // no temporary file left
  }
}

TEST(WritePlayerSettingsWin, NothingIsWrittenOffADriveOrIntoWhatIsNoFile) {
  TempDir launcher;
  launcher.Write("vplayer.ini", "[A]\n");
  const std::string network = "\\\\server\\share\\";
  const movie::LauncherFiles elsewhere{network, platform::ListDirectory(Native(launcher)), true, {}};
  const IniOutcome outcome = movie::PlanPlayerSettings(elsewhere, PlayerKind::VPlayer, "Film.avi", "Film.srt");
  EXPECT_EQ(outcome.update.kind, Kind::Skipped);
  EXPECT_EQ(launcher.Read("vplayer.ini"), "[A]\n");

  TempDir folder;
  folder.MakeDir("bplay.ini");
  const platform::ProfileUpdate update = testsupport::UpdateProfileFile(Native(folder) + "bplay.ini", {{"Movie", "FName", "x"}});
  EXPECT_EQ(update.kind, Kind::Skipped);
  EXPECT_EQ(testsupport::UpdateProfileFile(Native(folder) + "missing.ini", {{"A", "k", "v"}}).kind,
            Kind::Skipped);
}

// A file held open without sharing by its player cannot be replaced: the write fails with the
// message, and the file keeps its content.
TEST(WritePlayerSettingsWin, AFileThePlayerHoldsOpenFailsWhole) {
  TempDir launcher;
  const std::string directory = Native(launcher);
  launcher.Write("bplay.ini", "[Movie]\nFName=old.avi\n");
  HANDLE held = CreateFileA((directory + "bplay.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const IniOutcome outcome = testsupport::UpdateOnDisk(directory, PlayerKind::BSPlayer, "Film.avi", "Film.srt");
  CloseHandle(held);
  EXPECT_EQ(outcome.update.kind, Kind::Failed);
  EXPECT_EQ(outcome.update.reason, "Unable to write to " + directory + "bplay.ini");
  EXPECT_EQ(launcher.Read("bplay.ini"), "[Movie]\nFName=old.avi\n");
  EXPECT_EQ(Names(directory), std::vector<std::string>{"bplay.ini"});
}

// What an ended update left beside the INI file goes at the next update; look-alikes stay.
TEST(UpdateProfileFileWin, RemovesOnlyItsOwnStaleTemporaryFiles) {
  TempDir dir;
  const std::string path = dir.Write("vplayer.ini", "[Autorun]\r\n");
  dir.Write(".vplayer.ini.autorun-Ab3dE9", "[Autorun]\r\nFileNameMovie=half");
  dir.Write(".vplayer.ini.autorun-X", "too short a suffix");
  dir.Write(".bplay.ini.autorun-Ab3dE9", "another file's");
  dir.MakeDir(".vplayer.ini.autorun-Dir123");
  EXPECT_EQ(testsupport::UpdateProfileFile(path, {{"Autorun", "FileNameMovie", "Film.avi"}}).kind,
            Kind::Written);
  EXPECT_EQ(dir.Read("vplayer.ini"), "[Autorun]\r\nFileNameMovie=Film.avi\r\n");
  EXPECT_EQ(Names(dir.path()).size(), 4u) << "only the stale temporary file is gone";
  EXPECT_EQ(dir.Read(".vplayer.ini.autorun-Ab3dE9"), "");
  EXPECT_EQ(dir.Read(".bplay.ini.autorun-Ab3dE9"), "another file's");
}

}  // namespace
