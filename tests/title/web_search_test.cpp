#include "title/web_search.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using title::SiteKeys;

// Each site's URL around the query, written out here on their own so that a slip in the
// program's table shows.
struct UrlFrame {
  const char* before;
  const char* after;
};
constexpr std::array<UrlFrame, 5> kFrames = {{
    {"http://www.imdb.com/Tsearch?title=",
     "&type=substring&tv=off&from_year=1890&to_year=2009&sort=smart"},
    {"http://www.beyazperde.com/hizliarama.asp?keyword=", "&Submit=ARA"},
    {"http://www.impawards.com/cgi-bin/htsearch?method=and&words=", ""},
    {"http://www.cdcovers.cc/search.php?group=dvd&boolean=AND&Button=Search&terms=", ""},
    {"http://www.moviecovers.com/multicrit.html?titre=", "&slow=1&tri=Titre&listes=1"},
}};

std::string ExpectedUrl(std::size_t site, const std::string& query) {
  return kFrames[site].before + query + kFrames[site].after;
}

// Queries in SiteKeys order: IMDB, BEYAZPERDE, IMPAWARDS, CDCOVERS, MOVIECOVERS.
struct QueryCase {
  const char* title;
  std::array<const char*, 5> queries;
};

TEST(WebSearch, EachSiteReshapesTheTitle) {
  const QueryCase cases[] = {
      {"The Matrix 1999",
       {"Matrix 1999, The", "Matrix,+The", "Matrix 19, The", "Matrix", "Matrix 19, The"}},
      {"The Lord Of The Rings CD1",
       {"Lord Of The Rings, The", "Lord+Of+The+Rings+CD,+The", "Lord Of The Rings, The", "Lord",
        "Lord Of The Rings, The"}},
      {"Man On Fire 2004",
       {"Man On Fire 2004", "Man+On+Fire", "Man On Fire", "Man", "Man On Fire"}},
      {"A Beautiful Mind",
       {"Beautiful Mind, A", "Beautiful+Mind,+A", "Beautiful Mind, A", "Beautiful",
        "Beautiful Mind, A"}},
      {"An American Werewolf In London",
       {"American Werewolf In London, An", "American+Werewolf+In+London,+An",
        "American Werewolf In London, An", "American", "American Werewolf In London, An"}},
      {"Thelma And Louise",
       {"Thelma And Louise", "Thelma+And+Louise", "Thelma And Louise", "Thelma",
        "Thelma And Louise"}},
      {"Shrek 2001", {"Shrek 2001", "Shrek", "Shrek", "Shrek", "Shrek"}},
      {"Se7en", {"Se7en", "Seen", "Seen", "Seen", "Seen"}},
      {"Matrix Cd 2", {"Matrix", "Matrix+Cd", "Matrix", "Matrix", "Matrix"}},
      {"1984", {"1984", "", "", "", ""}},
      // The title's own & # + % = ? are encoded, so the whole title stays one query value; blanks
      // and the 8-bit letter go in as they are, and only Beyazperde's blanks become "+".
      {"Tom & Jerry #2 A+B",
       {"Tom %26 Jerry %232 A%2BB", "Tom+%26+Jerry+%23+A%2BB", "Tom %26 Jerry %23 A%2BB", "Tom",
        "Tom %26 Jerry %23 A%2BB"}},
      {"What? =%41 \xDDz",
       {"What%3F %3D%2541 \xDDz", "What%3F+%3D%25+\xDDz", "What%3F %3D%25 \xDDz", "What%3F",
        "What%3F %3D%25 \xDDz"}},
      {"", {"", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    for (std::size_t site = 0; site < SiteKeys.size(); ++site) {
      SCOPED_TRACE(std::string(c.title) + " @ " + std::string(SiteKeys[site]));
      EXPECT_EQ(title::WebSearchUrl(SiteKeys[site], c.title), ExpectedUrl(site, c.queries[site]));
    }
  }
}

TEST(WebSearch, FullImdbUrl) {
  EXPECT_EQ(title::WebSearchUrl("IMDB", "The Matrix 1999"),
            "http://www.imdb.com/Tsearch?title=Matrix 1999, The&type=substring&tv=off"
            "&from_year=1890&to_year=2009&sort=smart");
}

// The title's own bytes go into the URL: a code-page letter such as 0xFE (a Turkish s with cedilla)
// is neither re-encoded nor replaced; the opener alone decides how the URL is written out.
TEST(WebSearch, ANonAsciiTitleByteReachesTheUrlUnchanged) {
  const std::string shown = "Ka\xFE Test";
  const std::pair<std::string_view, std::string> expected[] = {
      {"IMDB",
       "http://www.imdb.com/Tsearch?title=Ka\xFE Test&type=substring&tv=off&from_year=1890&to_year=2009&sort=smart"},
      {"BEYAZPERDE", "http://www.beyazperde.com/hizliarama.asp?keyword=Ka\xFE+Test&Submit=ARA"},
      {"IMPAWARDS", "http://www.impawards.com/cgi-bin/htsearch?method=and&words=Ka\xFE Test"},
      {"CDCOVERS", "http://www.cdcovers.cc/search.php?group=dvd&boolean=AND&Button=Search&terms=Ka\xFE"},
      {"MOVIECOVERS", "http://www.moviecovers.com/multicrit.html?titre=Ka\xFE Test&slow=1&tri=Titre&listes=1"},
  };
  for (const auto& [site, url] : expected) {
    SCOPED_TRACE(std::string(site));
    EXPECT_EQ(title::OpenWebSearchUrl(site, shown, true), std::optional<std::string>(url));
  }
}

TEST(WebSearch, LongUrlsArePassedWhole) {
  const std::string longTitle(300, 'x');
  for (std::size_t site = 0; site < SiteKeys.size(); ++site) {
    SCOPED_TRACE(std::string(SiteKeys[site]));
    const auto url = title::OpenWebSearchUrl(SiteKeys[site], longTitle, true);
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(*url, ExpectedUrl(site, longTitle));
  }
}

TEST(WebSearch, UnknownKeysGiveNothing) {
  for (const char* key : {"imdb", "", "IMDB ", "GOOGLE"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(title::WebSearchUrl(key, "The Matrix"), "");
    EXPECT_FALSE(title::OpenWebSearchUrl(key, "The Matrix", true).has_value());
  }
}

TEST(WebSearch, OpensOnlyOnlineForTitlesOfThreeOrMore) {
  const struct {
    const char* title;
    bool online, opens;
  } cases[] = {
      {"", true, false},       {"X", true, false},        {"XY", true, false},
      {"XYZ", true, true},     {"1984", true, true},      {"The Matrix", false, false},
      {"XYZ", false, false},   {"\xC4\xB0", true, false},  {"a\xC4\xB0", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + (c.online ? " online" : " offline"));
    EXPECT_EQ(title::SearchOpens(c.title, c.online), c.opens);
    for (std::size_t site = 0; site < SiteKeys.size(); ++site) {
      const auto url = title::OpenWebSearchUrl(SiteKeys[site], c.title, c.online);
      ASSERT_EQ(url.has_value(), c.opens);
      if (url) {
        EXPECT_EQ(*url, title::WebSearchUrl(SiteKeys[site], c.title));
      }
    }
  }
}

struct HelperCase {
  const char* text;
  const char* result;
};

TEST(DropTailDigits, OnlyTheLastSevenCharactersLoseDigits) {
  const HelperCase cases[] = {
      {"", ""},           {"7", ""},          {"a1b2", "ab"},           {"1234567", ""},
      {"12345678", "1"},  {"Se7en", "Seen"},  {"2001 A Space Odyssey", "2001 A Space Odyssey"},
      {"Rocky 2 Part 3", "Rocky 2 Part "},    {"Shrek 2001", "Shrek "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(title::DropTailDigits(c.text), c.result);
  }
}

TEST(StripDiscPartAndMoveArticle, MarksGoAndTheArticleMoves) {
  const HelperCase cases[] = {
      {"", ""},
      {"a", "a"},
      {"the", "the"},
      {"a ", ", A"},
      {"The ", ", The"},
      {"THE END", "END, The"},
      {"an  Affair", " Affair, An"},
      {"Theater", "Theater"},
      {"Movie CD1 cd2 Cd 3", "Movie"},
      {"Movie cd1 cd1", "Movie cd1"},
      {"Cd1 Movie", "Cd1 Movie"},
      {"An cd1", "An"},
      {"A Movie cd 2 x", "Movie x, A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(title::StripDiscPartAndMoveArticle(c.text), c.result);
  }
}

TEST(DropLeadingArticle, ArticleGoesWithItsBlank) {
  const HelperCase cases[] = {
      {"", ""},          {"a", "a"},       {"A ", ""},          {"an", "an"},
      {"An Officer", "Officer"},           {"Theater", "Theater"}, {"THE X", "X"},
      {"the  x", " x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(title::DropLeadingArticle(c.text), c.result);
  }
}

}  // namespace
