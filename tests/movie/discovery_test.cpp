#include "movie/discovery.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/listing.h"

namespace {

using platform::EntryKind;
using platform::Listing;
using platform::ListingEntry;
using testsupport::D;
using testsupport::F;
using testsupport::Listed;
using testsupport::Other;

struct SubtitleCase {
  const char* what;
  std::string movie;
  std::vector<ListingEntry> entries;
  std::string expected;
};

const SubtitleCase kSubtitleCases[] = {
    {"txt before sub before srt", "Film.avi", {F("Film.avi"), F("film.SRT"), F("FILM.sub"), F("Film.txt")}, "Film.txt"},
    {"sub before srt", "Film.avi", {F("Film.avi"), F("film.srt"), F("FILM.SUB"), F("a.txt")}, "FILM.SUB"},
    {"named file beats wildcards", "Film.avi", {F("notes.txt"), F("x.sub"), F("Film.avi"), F("Film.srt")}, "Film.srt"},
    {"spelled as listed", "Film.avi", {F("Film.avi"), F("film.srt")}, "film.srt"},
    {"exact spelling preferred, listed second", "Film.avi", {F("FILM.TXT"), F("Film.txt"), F("Film.avi")}, "Film.txt"},
    {"first case variant when none is exact", "Film.avi", {F("FILM.TXT"), F("film.txt"), F("Film.avi")}, "FILM.TXT"},
    {"only ignored txt, then srt", "Film.avi", {F("Film.avi"), F("README.TXT"), F("english.srt")}, "english.srt"},
    {"ignored names in any case", "Film.avi",
     {F("Film.avi"), F("readme.txt"), F("Benioku.Txt"), F("New Text Document.txt"), F("x.srt"), F("y.sub")}, "y.sub"},
    {"first txt acceptable: taken at once", "Film.avi", {F("notes.txt"), F("README.TXT"), F("other.txt")}, "notes.txt"},
    {"first txt ignored: the last acceptable wins", "Film.avi",
     {F("New Text Document.txt"), F("a.txt"), F("b.txt"), F("readme.txt")}, "b.txt"},
    {"first txt ignored: the one acceptable in the middle", "Film.avi",
     {F("README.TXT"), F("turkish.txt"), F("BENIOKU.TXT"), F("y.sub")}, "turkish.txt"},
    {"txt wildcard before sub", "Film.avi", {F("other.sub"), F("notes.txt")}, "notes.txt"},
    {"first sub in listing order", "Film.avi", {F("two.SUB"), F("one.sub"), F("x.srt")}, "two.SUB"},
    {"first srt in listing order", "Film.avi", {F("b.srt"), F("a.srt")}, "b.srt"},
    {"nothing at all", "Film.avi", {F("Film.avi"), F("Film.nfo"), F("Film.jpg")}, ""},
    {"an avi is no subtitle", "Film.avi", {F("Film.avi"), F("Film.txt.avi")}, ""},
    {"a directory matches the srt wildcard", "Film.avi", {F("Film.avi"), D("x.srt")}, "x.srt"},
    {"a directory first matches the sub wildcard", "Film.avi", {D("dir.sub"), F("one.sub")}, "dir.sub"},
    {"directory named after the movie is skipped", "Film.avi", {F("Film.avi"), F("notes.sub"), D("Film.srt")},
     "notes.sub"},
    {"a FIFO named after the movie is skipped", "Film.avi", {F("Film.avi"), Other("Film.txt"), F("Film.sub")},
     "Film.sub"},
    {"directory named after the movie, then the same name by wildcard", "Film.avi", {F("Film.avi"), D("Film.srt")},
     "Film.srt"},
    {"star in the movie name is no wildcard", "F*lm.avi", {F("F*lm.avi"), F("Film.txt"), F("F*LM.sub")}, "F*LM.sub"},
    {"question mark in the movie name is no wildcard", "F?lm.avi",
     {F("F?lm.avi"), F("Film.txt.bak"), F("Film.srt"), F("other.sub")}, "other.sub"},
    {"blanks and quotes in names", "My \"Film\" & Co.avi",
     {F("My \"Film\" & Co.avi"), F("my \"film\" & co.SRT")}, "my \"film\" & co.SRT"},
    {"empty directory", "", {}, ""},
};

TEST(FindSubtitleFile, FollowsTheRulesInOrder) {
  for (const SubtitleCase& c : kSubtitleCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(movie::FindSubtitleFile(Listed(c.entries), c.movie), c.expected);
  }
}

TEST(FindMovieFile, TakesTheFirstListedAvi) {
  struct Case {
    const char* what;
    std::vector<ListingEntry> entries;
    std::string expected;
  };
  const Case cases[] = {
      {"none", {F("Film.mkv"), F("Film.avi.txt")}, ""},
      {"upper case", {F("x.txt"), F("FILM.AVI")}, "FILM.AVI"},
      {"two, in listing order", {F("Two.avi"), F("One.avi")}, "Two.avi"},
      {"two, the other order", {F("One.avi"), F("Two.avi")}, "One.avi"},
      {"a directory counts like a file", {D("Clip.avi"), F("Film.avi")}, "Clip.avi"},
      {"empty directory", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(movie::FindMovieFile(Listed(c.entries)), c.expected);
  }
  Listing unreadable;
  unreadable.code = EIO;  // any code of a listing that failed
  EXPECT_EQ(movie::FindMovieFile(unreadable), "");
}

TEST(PlayerPresent, ARegularFileOfAnyLetterCase) {
  const Listing here = Listed({F("VPlayer.EXE"), D("bplay.exe")});
  EXPECT_TRUE(movie::PlayerPresent(here, movie::PlayerKind::VPlayer));
  EXPECT_FALSE(movie::PlayerPresent(here, movie::PlayerKind::BSPlayer));
  EXPECT_FALSE(movie::PlayerPresent(Listed({Other("vplayer.exe")}), movie::PlayerKind::VPlayer));
  EXPECT_TRUE(movie::PlayerPresent(Listed({F("BPLAY.exe")}), movie::PlayerKind::BSPlayer));
}

}  // namespace
