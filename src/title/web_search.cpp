#include "title/web_search.h"

#include <algorithm>

#include "platform/names.h"
#include "platform/text.h"
#include "platform/url.h"

namespace title {

namespace {

constexpr std::string_view kImdbHost = "www.imdb.com";
constexpr std::string_view kBeyazperdeHost = "www.beyazperde.com";
constexpr std::string_view kImpawardsHost = "www.impawards.com";
constexpr std::string_view kCdCoversHost = "www.cdcovers.cc";
constexpr std::string_view kMovieCoversHost = "www.moviecovers.com";

struct Site {
  std::string_view key, host, beforeQuery, afterQuery;
  std::string (*reshape)(std::string_view title);
  bool blanksAsPlus = false;  // the site reads "+" as a blank; its title's own "+" is encoded first
};

constexpr std::size_t kTailLength = 7;

constexpr std::array<std::string_view, 6> kDiscMarks = {" cd1", " cd2", " cd3",
                                                        " cd 1", " cd 2", " cd 3"};

struct Article {
  std::string_view prefix, moved;
};
constexpr std::array<Article, 3> kArticles = {{{"the ", ", The"}, {"an ", ", An"}, {"a ", ", A"}}};

// The article that `text` begins with (any letter case), or nullptr.
const Article* LeadingArticle(std::string_view text) {
  const std::string lower = platform::AsciiLower(text);
  for (const Article& article : kArticles)
    if (lower.starts_with(article.prefix)) return &article;
  return nullptr;
}

std::string BeforeFirstBlank(std::string_view text) {
  return std::string(text.substr(0, text.find(' ')));
}

std::string ImdbQuery(std::string_view t) {
  return platform::Trim(StripDiscPartAndMoveArticle(t));
}

std::string BeyazperdeQuery(std::string_view t) {
  std::string q = platform::Trim(DropTailDigits(t));
  return platform::Trim(StripDiscPartAndMoveArticle(q));
}

// Impawards and MovieCovers: the article moves before the tail digits go.
std::string ArticleFirstQuery(std::string_view t) {
  return platform::Trim(DropTailDigits(StripDiscPartAndMoveArticle(t)));
}

std::string CdCoversQuery(std::string_view t) {
  return BeforeFirstBlank(StripDiscPartAndMoveArticle(DropLeadingArticle(DropTailDigits(t))));
}

constexpr std::array<Site, 5> kSites = {{
    {kSiteImdb, kImdbHost, "/Tsearch?title=",
     "&type=substring&tv=off&from_year=1890&to_year=2009&sort=smart", ImdbQuery},
    {kSiteBeyazperde, kBeyazperdeHost, "/hizliarama.asp?keyword=", "&Submit=ARA", BeyazperdeQuery, true},
    {kSiteImpawards, kImpawardsHost, "/cgi-bin/htsearch?method=and&words=", "", ArticleFirstQuery},
    {kSiteCdCovers, kCdCoversHost, "/search.php?group=dvd&boolean=AND&Button=Search&terms=", "",
     CdCoversQuery},
    {kSiteMovieCovers, kMovieCoversHost, "/multicrit.html?titre=", "&slow=1&tri=Titre&listes=1",
     ArticleFirstQuery},
}};

const Site* FindSite(std::string_view siteKey) {
  const auto it = std::find_if(kSites.begin(), kSites.end(),
                               [siteKey](const Site& site) { return site.key == siteKey; });
  return it == kSites.end() ? nullptr : &*it;
}

}  // namespace

std::string DropTailDigits(std::string_view text) {
  const std::size_t keep = text.size() > kTailLength ? text.size() - kTailLength : 0;
  std::string out(text.substr(0, keep));
  for (char c : text.substr(keep))
    if (c < '0' || c > '9') out += c;
  return out;
}

std::string StripDiscPartAndMoveArticle(std::string_view text) {
  std::string t(text);
  for (std::string_view mark : kDiscMarks) {
    const auto at = platform::AsciiLower(t).find(mark);
    if (at != std::string::npos) t.erase(at, mark.size());
  }
  const Article* article = LeadingArticle(t);
  if (article == nullptr) return t;
  return t.substr(article->prefix.size()) + std::string(article->moved);
}

std::string DropLeadingArticle(std::string_view text) {
  const Article* article = LeadingArticle(text);
  return std::string(article == nullptr ? text : text.substr(article->prefix.size()));
}

std::string WebSearchUrl(std::string_view siteKey, std::string_view title) {
  const Site* site = FindSite(siteKey);
  if (site == nullptr) return {};
  std::string url = "http://";
  url += site->host;
  url += site->beforeQuery;
  std::string query = platform::EncodeQueryValue(site->reshape(title));
  if (site->blanksAsPlus) platform::ReplaceAll(query, " ", "+");
  url += query;
  url += site->afterQuery;
  return url;
}

bool SearchOpens(std::string_view title, bool isOnline) { return isOnline && platform::IsTrustedEntry(title); }

std::optional<std::string> OpenWebSearchUrl(std::string_view siteKey, std::string_view title,
                                            bool isOnline) {
  if (!SearchOpens(title, isOnline) || FindSite(siteKey) == nullptr) return std::nullopt;
  return WebSearchUrl(siteKey, title);
}

}  // namespace title
