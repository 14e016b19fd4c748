#pragma once
// The film title shown at the bottom of the window, derived from the movie file's name: the words
// of the name without the release-group and rip tags. All work is on 8-bit bytes; the conversion
// to display text happens only in TitleDisplayText.
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace title {

// Release-group, rip and site tags cut out of the lower-cased name, each once, in this order.
// The order matters: an earlier cut can break or create a later match.
extern const std::array<std::string_view, 52> FilmTitleTags;

// Lower-cases the text and gives every word a capital first letter (ASCII letters only). A word
// starts after any byte outside "a"-"z" except the apostrophe, so "ocean's" keeps its small "s"
// while "2fast2furious" becomes "2Fast2Furious".
std::string CapitalizeWords(std::string_view text);

// The title for the movie whose file name without its extension is `movieBaseName`. A name that
// reduces exactly to "film" takes its title
// from `storedFilmName` (the title a disc's author stored in the players' settings, "" for none),
// which is asked only then. The result is trimmed and may be empty.
std::string DeriveFilmTitle(std::string_view movieBaseName, const std::function<std::string()>& storedFilmName);

// Font size in points for a title of `displayedLength` characters: the designed 14 up to 35,
// then 12, 10 above 45 and 8 above 53.
int TitleFontPoints(int displayedLength);

// The title as shown: UTF-8 when the bytes are valid UTF-8, otherwise code page 1254 (the title
// labels' Turkish character set).
QString TitleDisplayText(std::string_view title);

// The number of characters (code points) shown for `title`, which decides the font size.
int DisplayedLength(std::string_view title);

}  // namespace title
