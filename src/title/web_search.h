#pragma once
// Web searches for the film title on five movie-database and cover sites. Each site reshapes the
// title its own way (disc-part marks and years dropped, a leading article moved or dropped) and
// takes it into a fixed URL. The title goes in byte for byte but for the few bytes that would end or
// change the query value (& # + % = ?, EncodeQueryValue); blanks and 8-bit letters stay, for the
// opener to encode, but for a site that reads "+" as a blank, which gets its blanks as "+".
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace title {

// Removes every digit among the last seven characters; anything before them stays.
std::string DropTailDigits(std::string_view text);
// Deletes the first of each disc-part mark " cd1".." cd3", " cd 1".." cd 3" (any letter case),
// then moves a leading "the ", "an " or "a " behind the title: "The Matrix" -> "Matrix, The".
std::string StripDiscPartAndMoveArticle(std::string_view text);
// Drops a leading "the ", "an " or "a " (any letter case).
std::string DropLeadingArticle(std::string_view text);

// The sites, by the keys that the title and poster clicks and the menu items name them with.
inline constexpr std::string_view kSiteImdb = "IMDB";
inline constexpr std::string_view kSiteBeyazperde = "BEYAZPERDE";
inline constexpr std::string_view kSiteImpawards = "IMPAWARDS";
inline constexpr std::string_view kSiteCdCovers = "CDCOVERS";
inline constexpr std::string_view kSiteMovieCovers = "MOVIECOVERS";
inline constexpr std::array<std::string_view, 5> SiteKeys = {kSiteImdb, kSiteBeyazperde, kSiteImpawards,
                                                             kSiteCdCovers, kSiteMovieCovers};

// "http://" + the site's host + its search path with the title, as the site `siteKey` searches for
// it, inserted as one query value; "" for a key that is not one of SiteKeys (keys are compared exactly,
// letter case included). The URL is never shortened, however long.
std::string WebSearchUrl(std::string_view siteKey, std::string_view title);
// A search opens only for a title longer than 2 characters and only when the machine was online.
bool SearchOpens(std::string_view title, bool isOnline);
// The URL to open for a click or menu choice, or nullopt when nothing is to be opened.
std::optional<std::string> OpenWebSearchUrl(std::string_view siteKey, std::string_view title,
                                            bool isOnline);

}  // namespace title
