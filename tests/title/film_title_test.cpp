#include "title/film_title.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stored film name that answers with a fixed value and counts how often it was asked.
struct FilmNameSource {
  std::string stored;
  int asked = 0;

  std::function<std::string()> Reader() {
    return [this] {
      ++asked;
      return stored;
    };
  }
};

std::string Derive(std::string_view baseName) {
  FilmNameSource none{"<unexpected>"};
  std::string result = title::DeriveFilmTitle(baseName, none.Reader());
  EXPECT_EQ(none.asked, 0) << "override consulted for " << baseName;
  return result;
}

struct DeriveCase {
  const char* movie;
  const char* title;
};

TEST(DeriveFilmTitle, NamesBecomeTitles) {
  const DeriveCase cases[] = {
      {"The.Matrix.1999.DVDRip.XviD-DEMON", "The Matrix 1999"},
      {"the_lord_of_the_rings_cd1", "The Lord Of The Rings CD1"},
      {"Shrek (2001) [DivX]", "Shrek 2001"},
      {"Kill.Bill.Vol.1.2003.DVDRip.XviD-DMT", "Kill Bill Vol 1 2003   Dmt"},
      {"Kill.Bill.Vol.1.2003.DMT.XviD", "Kill Bill Vol 1 2003"},
      {"divx.divx", "Divx"},
      {"Vivid.Lives", "Lives"},
      {"Shrek.2.TS", "Shrek 2 Ts"},
      {"Shrek.2.TS.XviD", "Shrek 2"},
      {"ocean's.eleven", "Ocean's Eleven"},
      {"2fast2furious", "2Fast2Furious"},
      {"Star.Wars.Episode.II.Attack.Of.The.Clones.2002.DVDRip.XviD",
       "Star Wars Episode Ii Attack Of The Clones 2002"},
      {"Harry.Potter.And.The.Chamber.Of.Secrets.CD2",
       "Harry Potter And The Chamber Of Secrets CD2"},
      // "dvd-rip" is a tag of its own: cut whole, before the hyphen could become a blank.
      {"Heat.DVD-Rip", "Heat"},
      // A tag with a blank needs a real blank in the name.
      {"Heat DVD Rip", "Heat"},
      {"Heat.DVD.Quality", "Heat  Quality"},
      {"Heat.1995.suprnova.org", "Heat 1995"},
      {"Heat.1995-vcdquality.com", "Heat 1995"},
      {"{Heat},1995", "Heat 1995"},
      // Disc parts are marked inside words too, each once.
      {"abccd1", "AbcCD1"},
      {"x.cd1.cd1.cd3", "X CD1 Cd1 CD3"},
      // A byte outside a-z starts a word, as a digit does.
      {"\xDDstanbul", "\xDDStanbul"},
      {"  Heat\t", "Heat"},
      {"a", "A"},
      {"", ""},
      {"DivX.XviD", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.movie);
    EXPECT_EQ(Derive(c.movie), c.title);
  }
}

TEST(DeriveFilmTitle, FilmTakesTheStoredName) {
  struct Case {
    const char* movie;
    const char* stored;
    const char* title;
    int asked;
  };
  const Case cases[] = {
      {"film", "Das Boot", "Das Boot", 1},
      {"Film", "Das Boot", "Das Boot", 1},
      {"FILM", "Das Boot", "Das Boot", 1},
      {"film", "", "", 1},
      {"(film)", "Das Boot", "Das Boot", 1},
      // The value is taken as it is: no tags cut, no case change, no disc mark.
      {"film", "the.matrix DVDRip cd1", "the.matrix DVDRip cd1", 1},
      {"film", "Ka\xFE Test", "Ka\xFE Test", 1},  // a code-page byte passes unchanged
      // The cut tag leaves a blank behind, so the text is not exactly "film".
      {"film-xvid", "Das Boot", "Film", 0},
      {"film.xvid", "Das Boot", "Film", 0},
      {"films", "Das Boot", "Films", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.movie) + " / " + c.stored);
    FilmNameSource source{c.stored};
    EXPECT_EQ(title::DeriveFilmTitle(c.movie, source.Reader()), c.title);
    EXPECT_EQ(source.asked, c.asked);
  }
}

TEST(CapitalizeWords, WordStarts) {
  const DeriveCase cases[] = {
      {"", ""},
      {"a", "A"},
      {"HELLO wORLD", "Hello World"},
      {"o'brien's", "O'brien's"},
      {"'twas", "'Twas"},
      {"x-men,2", "X-Men,2"},
      {"\xE7ilek \xFC\xE7", "\xE7Ilek \xFC\xE7"},
      {"  two  blanks ", "  Two  Blanks "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.movie);
    EXPECT_EQ(title::CapitalizeWords(c.movie), c.title);
  }
}

TEST(FilmTitleTags, AreLowerCaseAndDistinct) {
  for (std::size_t i = 0; i < title::FilmTitleTags.size(); ++i) {
    const std::string_view tag = title::FilmTitleTags[i];
    SCOPED_TRACE(std::string(tag));
    EXPECT_FALSE(tag.empty());
    for (char c : tag) EXPECT_FALSE(c >= 'A' && c <= 'Z');
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(tag, title::FilmTitleTags[j]);
  }
  // The two site tags are host names with their top-level domain.
  for (std::size_t siteTag : {12u, 51u}) {
    const std::string_view tag = title::FilmTitleTags[siteTag];
    SCOPED_TRACE(std::string(tag));
    EXPECT_NE(tag.find('.'), std::string_view::npos);
    EXPECT_EQ(tag.find(' '), std::string_view::npos);
  }
}

TEST(TitleFont, PointsByDisplayedLength) {
  const struct {
    int length, points;
  } cases[] = {{0, 14}, {35, 14}, {36, 12}, {43, 12}, {45, 12},
               {46, 10}, {53, 10}, {54, 8},  {500, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    EXPECT_EQ(title::TitleFontPoints(c.length), c.points);
  }
}

TEST(TitleFont, DerivedTitlesTakeTheirSize) {
  const struct {
    const char* movie;
    int length, points;
  } cases[] = {
      {"Star.Wars.Episode.II.Attack.Of.The.Clones.2002.DVDRip.XviD", 46, 10},
      {"Harry.Potter.And.The.Chamber.Of.Secrets.CD2", 43, 12},
      {"The.Lord.Of.The.Rings.The.Fellowship.Of.The.Ring.2001", 53, 10},
      {"The.Lord.Of.The.Rings.The.Fellowship.Of.The.Rings.2001", 54, 8},
      {"The.Matrix.1999.DVDRip.XviD-DEMON", 15, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.movie);
    const int length = title::DisplayedLength(Derive(c.movie));
    EXPECT_EQ(length, c.length);
    EXPECT_EQ(title::TitleFontPoints(length), c.points);
  }
}

TEST(TitleDisplay, Utf8StaysUtf8AndEveryCharacterCountsOnce) {
  const struct {
    const char* bytes;
    QString shown;
    int length;
  } cases[] = {
      {"", QStringLiteral(""), 0},
      {"Heat 1995", QStringLiteral("Heat 1995"), 9},
      // Code-page bytes count one character each; how they look depends on the system (its ANSI
      // code page, else 1254) and is tested with each system's backend.
      {"\xDDStanbul", QString(), 8},
      {"G\xFCne\xFE", QString(), 5},
      // Valid UTF-8 counts characters, not bytes.
      {"\xC4\xB0stanbul", QStringLiteral("\u0130stanbul"), 8},
      {"G\xC3\xBCne\xC5\x9F", QStringLiteral("G\u00FCne\u015F"), 5},
      // Outside the basic plane: one character, two UTF-16 units.
      {"Film \xF0\x9F\x8E\xAC", QString::fromUtf8("Film \xF0\x9F\x8E\xAC"), 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    if (!c.shown.isNull()) {
      EXPECT_EQ(title::TitleDisplayText(c.bytes), c.shown);
    }
    EXPECT_EQ(title::DisplayedLength(c.bytes), c.length);
  }
}

}  // namespace
