// Film title derivation and the web-search links on arbitrary file names and titles.
//  - The derived title is trimmed, and asks for the stored film name at most once.
//  - Capitalising is stable; the reshaping helpers only remove or move what they say.
//  - Every site gives a URL that holds its query verbatim, and opens only when online with a title
//    longer than two bytes.
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/text.h"
#include "title/film_title.h"
#include "title/web_search.h"

namespace {

// The name kept in the players' settings when the file is called "film".
constexpr std::string_view kStoredName = "  Stored Film Name ";

void CheckSearches(std::string_view title) {
  const std::string tail = title::DropTailDigits(title);
  FUZZ_CHECK(tail.size() <= title.size());
  FUZZ_CHECK(std::string_view(tail).substr(0, title.size() > 7 ? title.size() - 7 : 0) ==
             title.substr(0, title.size() > 7 ? title.size() - 7 : 0));
  for (char c : std::string_view(tail).substr(title.size() > 7 ? title.size() - 7 : 0))
    FUZZ_CHECK(c < '0' || c > '9');

  const std::string dropped = title::DropLeadingArticle(title);
  FUZZ_CHECK(title.ends_with(dropped) && title.size() - dropped.size() <= 4);
  const std::string moved = title::StripDiscPartAndMoveArticle(title);
  FUZZ_CHECK(moved.size() <= title.size() + 1);

  for (std::string_view site : title::SiteKeys) {
    const std::string url = title::WebSearchUrl(site, title);
    FUZZ_CHECK(url.starts_with("http://"));
    const std::optional<std::string> offline = title::OpenWebSearchUrl(site, title, false);
    FUZZ_CHECK(!offline);
    const std::optional<std::string> online = title::OpenWebSearchUrl(site, title, true);
    FUZZ_CHECK(online.has_value() == (title.size() > 2));
    if (online) FUZZ_CHECK(*online == url);
  }
  FUZZ_CHECK(title::WebSearchUrl("imdb", title).empty() && title::WebSearchUrl("", title).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  int asked = 0;
  const std::string derived = title::DeriveFilmTitle(text, [&] {
    ++asked;
    return std::string(kStoredName);
  });
  FUZZ_CHECK(asked <= 1);
  FUZZ_CHECK(derived == platform::Trim(derived));
  if (asked == 1) {
    FUZZ_CHECK(derived == platform::Trim(kStoredName));
  } else {
    FUZZ_CHECK(derived.size() <= text.size());
  }

  const std::string capitalized = title::CapitalizeWords(text);
  FUZZ_CHECK(capitalized.size() == text.size());
  FUZZ_CHECK(title::CapitalizeWords(capitalized) == capitalized);
  FUZZ_CHECK(platform::AsciiLower(capitalized) == platform::AsciiLower(text));

  const QString shown = title::TitleDisplayText(text);
  FUZZ_CHECK(shown.size() <= static_cast<qsizetype>(text.size()));
  const int length = title::DisplayedLength(text);
  FUZZ_CHECK(length >= 0 && length <= static_cast<int>(text.size()));
  const int points = title::TitleFontPoints(length);
  FUZZ_CHECK(points >= 8 && points <= 14);

  CheckSearches(text);
  CheckSearches(derived);
  return 0;
}
