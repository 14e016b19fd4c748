// The start-up's listing on a real directory of symbolic links: only the names its rules ask about
// have their kinds looked up, and the rules still find every file they look for through a link.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/notes.h"
#include "media/poster.h"
#include "movie/discovery.h"
#include "support/temp_dir.h"

namespace {

using platform::EntryKind;

TEST(StartupListing, LooksUpTheKindsOfTheStartUpsNamesOnly) {
  testsupport::TempDir dir;
  dir.Write("target", "x");
  // What a disc's rules look for, every one a link, in letter cases of the disc's choosing.
  const std::vector<std::string> asked = {"Film.avi", "Film.srt", "Film.jpg", "other.bmp", "a.sub", "b.txt",
                                          "notes.nfo", "New Text Document.txt", "VPlayer.EXE", "bplay.exe",
                                          "Vplayer.ini", "BPLAY.INI"};
  for (const std::string& name : asked) ASSERT_EQ(symlink("target", (dir / name).c_str()), 0) << name;
  constexpr int kOtherLinks = 2000;
  for (int i = 0; i < kOtherLinks; ++i)
    ASSERT_EQ(symlink("target", (dir / ("link" + std::to_string(i) + ".mkv")).c_str()), 0);
  ASSERT_EQ(symlink("target", (dir / "vplayer.exe.bak").c_str()), 0);

  const platform::Listing here = platform::ListDirectory(dir.path(), movie::kStartupNames);
  ASSERT_EQ(here.entries.size(), asked.size() + kOtherLinks + 2);
  int lookedUp = 0;
  for (const platform::ListingEntry& entry : here.entries) {
    if (entry.name == "target") continue;
    const bool isAsked = std::find(asked.begin(), asked.end(), entry.name) != asked.end();
    EXPECT_EQ(entry.kind, isAsked ? EntryKind::File : EntryKind::Unknown) << entry.name;
    lookedUp += entry.kind != EntryKind::Unknown;
  }
  EXPECT_EQ(lookedUp, static_cast<int>(asked.size()));

  EXPECT_EQ(movie::FindMovieFile(here), "Film.avi");
  EXPECT_EQ(movie::FindSubtitleFile(here, "Film.avi"), "Film.srt");
  EXPECT_TRUE(movie::PlayerPresent(here, movie::PlayerKind::VPlayer));
  EXPECT_TRUE(movie::PlayerPresent(here, movie::PlayerKind::BSPlayer));
  EXPECT_EQ(media::FindPosterFile(here, "Film.avi"), (media::PosterFile{"Film.jpg", media::kPosterJpeg}));
  EXPECT_EQ(media::FindNotesFile(here), "notes.nfo");
  EXPECT_TRUE(platform::IsRegularFile(here, "vplayer.ini"));
  EXPECT_TRUE(platform::IsRegularFile(here, "bplay.ini"));
}

}  // namespace
