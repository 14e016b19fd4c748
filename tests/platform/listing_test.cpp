// Matching and the pure questions over a directory listing, on listings given explicitly (in an
// order no file system would be asked to produce).
#include <gtest/gtest.h>


#include "platform/files.h"

namespace {

using platform::EntryKind;
using platform::Listing;
using platform::WildcardMatch;

TEST(WildcardMatch, Table) {
  struct Row {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Row rows[] = {
      {"*.avi", "Film.avi", true},
      {"*.avi", "FILM.AVI", true},
      {"*.AVI", "film.avi", true},
      {"*.avi", "film.avi.part", false},  // whole name, not a prefix
      {"*.avi", "film.av", false},
      {"*.avi", ".avi", true},            // a dot-file is an ordinary name
      {"*.avi", "avi", false},
      {"*", "", true},
      {"", "", true},
      {"", "a", false},
      {"?", "", false},
      {"?", "x", true},
      {"??.srt", "ab.srt", true},
      {"??.srt", "a.srt", false},
      {"f?lm.*", "FILM.txt", true},
      {"*a*b", "xaxxb", true},
      {"*a*b", "xaxxbc", false},
      {"a*", "a", true},
      {"**", "anything", true},
      {"*.tx?", "notes.TXT", true},
      {"\xc7*", "\xc7ocuk.avi", true},     // bytes above ASCII compare exactly
      {"\xe7*", "\xc7ocuk.avi", false},    // and are not case-folded
      {"[ab].avi", "[ab].avi", true},      // brackets are not a character class
      {"[ab].avi", "a.avi", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " vs " + row.name);
    EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.match);
  }
}

// A matcher that backtracks over every way to place the stars would not end within the suite's
// time limit on this name.
TEST(WildcardMatch, ManyStarsOnALongName) {
  const std::string name(20000, 'a');
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a", name));
}

// Names out of sorted order, in two spellings, with every kind of entry.
const Listing kDisc{0,
                    {{"zeta.avi", EntryKind::File},
                     {"Folder.AVI", EntryKind::Directory},
                     {"Film.avi", EntryKind::File},
                     {"film.AVI", EntryKind::Other},
                     {"FILM.avi", EntryKind::File},
                     {"notes.txt", EntryKind::File},
                     {"VPLAYER.EXE", EntryKind::File},
                     {"vplayer.exe", EntryKind::Directory},
                     {"Bplay.exe", EntryKind::Other}}};

TEST(Listing, MatchesKeepTheListingsOrder) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(platform::MatchingNames(kDisc, "*.avi"),
            (Names{"zeta.avi", "Folder.AVI", "Film.avi", "film.AVI", "FILM.avi"}));
  EXPECT_EQ(platform::MatchingNames(kDisc, "f*.avi"), (Names{"Folder.AVI", "Film.avi", "film.AVI", "FILM.avi"}));
  EXPECT_EQ(platform::MatchingNames(kDisc, "*.srt"), Names{});
  EXPECT_EQ(platform::FirstMatch(kDisc, "*.AVI"), "zeta.avi");  // a directory would be next
  EXPECT_EQ(platform::FirstMatch(kDisc, "*.txt"), "notes.txt");
  EXPECT_EQ(platform::FirstMatch(kDisc, "*.srt"), "");
  EXPECT_EQ(platform::FirstMatch(Listing{platform::kNothingFound, {}}, "*"), "");
}

TEST(Listing, LookupPrefersTheExactSpellingThenTheFirstInOrder) {
  struct Row {
    const char* asked;
    const char* found;  // nullptr: none
    bool regularFile;
  };
  const Row rows[] = {
      {"Film.avi", "Film.avi", true},
      {"FILM.avi", "FILM.avi", true},     // exact, although a case-insensitive match comes first
      {"film.AVI", "film.AVI", false},    // exact, and not a file
      {"fILM.AVI", "Film.avi", true},     // none exact: the first in listing order
      {"vplayer.exe", "vplayer.exe", false},
      {"Vplayer.exe", "VPLAYER.EXE", true},
      {"bplay.exe", "Bplay.exe", false},
      {"folder.avi", "Folder.AVI", false},
      {"missing.ini", nullptr, false},
      {"", nullptr, false},
      {"Film.av", nullptr, false},        // whole names only
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.asked);
    const platform::ListingEntry* entry = platform::LookupEntry(kDisc, row.asked);
    if (row.found) {
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->name, row.found);
    } else {
      EXPECT_EQ(entry, nullptr);
    }
    EXPECT_EQ(platform::IsRegularFile(kDisc, row.asked), row.regularFile);
  }
}

// Only ASCII letters fold: bytes of the disc's code page compare exactly.
TEST(Listing, LookupFoldsOnlyAsciiLetters) {
  const Listing listing{0, {{"\xc7OCUK.avi", EntryKind::File}}};
  EXPECT_NE(platform::LookupEntry(listing, "\xc7ocuk.AVI"), nullptr);
  EXPECT_EQ(platform::LookupEntry(listing, "\xe7ocuk.avi"), nullptr);
}

}  // namespace
