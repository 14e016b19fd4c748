#include "platform/names.h"

#include <gtest/gtest.h>

#include "movie/launch.h"

namespace {

TEST(BaseName, CutsTheLastFourCharactersWhateverTheyAre) {
  const std::pair<std::string, std::string> cases[] = {
      {"Film.avi", "Film"}, {"Heat.mpeg", "Heat."}, {"Heat1995", "Heat"}, {".avi", ""},
      {"x.y", ""},          {"", ""},               {"a.b.c.srt", "a.b.c"},
  };
  for (const auto& [name, base] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(platform::BaseName(name), base);
  }
}

TEST(NameRules, TwoCharactersAreANameButNoUsableEntry) {
  EXPECT_FALSE(platform::CountsAsName(""));
  EXPECT_FALSE(platform::CountsAsName("a"));
  EXPECT_TRUE(platform::CountsAsName("ab"));
  EXPECT_FALSE(platform::IsTrustedEntry("ab"));
  EXPECT_TRUE(platform::IsTrustedEntry("abc"));
}

TEST(SubtitleMatchesMovie, SameBaseNameLetterCaseCounting) {
  struct Case {
    const char* movie;
    const char* subtitle;
    bool matches;
  };
  const Case cases[] = {
      {"Film.avi", "Film.srt", true},  {"Film.avi", "Film.sub", true},    {"Film.avi", "film.srt", false},
      {"Film.avi", "english.srt", false}, {"Film.avi", "", false},        {"Film.avi", "Film.s", false},
      {"ab.avi", "ab.txt", true},
      {"abcd", "x", false},  // both base names are empty, but "x" is no name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.movie) + " / " + c.subtitle);
    EXPECT_EQ(movie::SubtitleMatchesMovie(c.movie, c.subtitle), c.matches);
  }
}

}  // namespace
