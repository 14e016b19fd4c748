#include "title/film_title.h"

#include "platform/codepage.h"
#include "platform/text.h"

namespace title {

const std::array<std::string_view, 52> FilmTitleTags = {
    ".(tcr)",      "fasttrack central", "gowenna.",      "alliance.",     "divx dominion",
    "postx",       "sharereactor",      ".limited.",     ".repack",       ".pr0nstars",
    "kanoegy",     ".diamond.",         "suprnova.org",  "-demon",        ".ac3.",
    ".vite.",      "-vite",             ".dmt.",         ".ts-",          ".ts.",
    "-ts-",        "-ts.",              "ftf2",          "daduck",        ".dvl",
    "-dvl",        ".dcn",              "-dcn",          "-ven",          ".deity",
    "-deity",      "divx-ita",          "divx - ita",    "dvdivx-twciso", "dvd quality",
    "pre-release", "dvdscr",            "dvdrip",        "dvd-rip",       "dvd rip",
    "dvd.rip",     "dvdivx",            "dvd",           "screener",      "vivid",
    "dxru",        "-vcs",              "-mrcj",         "divx",          "xvid",
    "x-vid",       "vcdquality.com",
};

namespace {

constexpr std::array<std::string_view, 4> kSeparators = {"_", "-", ".", ","};
constexpr std::array<std::string_view, 6> kBrackets = {"(", ")", "[", "]", "{", "}"};
constexpr std::array<std::string_view, 3> kDiscParts = {"cd1", "cd2", "cd3"};
constexpr std::string_view kOverrideWord = "film";

constexpr int kDesignPoints = 14;

bool IsSmallLetter(char c) { return c >= 'a' && c <= 'z'; }

void CutTags(std::string& t) {
  for (std::string_view tag : FilmTitleTags) platform::ReplaceFirst(t, tag, "");
}

// Marks the first "cd1".."cd3" in upper case wherever it stands, inside a word too.
void MarkDiscParts(std::string& t) {
  for (std::string_view part : kDiscParts) {
    const auto at = platform::AsciiLower(t).find(part);
    if (at != std::string::npos) t.replace(at, part.size(), platform::AsciiUpper(part));
  }
}

}  // namespace

std::string CapitalizeWords(std::string_view text) {
  std::string out = platform::AsciiLower(text);
  bool wordStart = true;
  for (char& c : out) {
    if (wordStart && IsSmallLetter(c)) {
      c = static_cast<char>(c - 'a' + 'A');
      wordStart = false;
    } else if (!IsSmallLetter(c) && c != '\'') {
      wordStart = true;
    }
  }
  return out;
}

std::string DeriveFilmTitle(std::string_view movieBaseName, const std::function<std::string()>& storedFilmName) {
  std::string t = platform::AsciiLower(movieBaseName);
  // Tags go before the separators, so a tag's own dots, hyphens and blanks must match literally.
  CutTags(t);
  for (std::string_view separator : kSeparators) platform::ReplaceAll(t, separator, " ");
  for (std::string_view bracket : kBrackets) platform::ReplaceAll(t, bracket, "");
  t = CapitalizeWords(t);
  MarkDiscParts(t);
  // Compared untrimmed on purpose: "film-xvid" leaves "Film " and keeps its own name.
  if (platform::AsciiLower(t) == kOverrideWord) t = storedFilmName();
  return platform::Trim(t);
}

int TitleFontPoints(int displayedLength) {
  if (displayedLength > 53) return 8;
  if (displayedLength > 45) return 10;
  if (displayedLength > 35) return 12;
  return kDesignPoints;
}

QString TitleDisplayText(std::string_view title) {
  return platform::DecodeText(title, platform::CodePage::Cp1254);
}

int DisplayedLength(std::string_view title) {
  const QString text = TitleDisplayText(title);
  int count = 0;
  for (qsizetype i = 0; i < text.size(); ++i, ++count)
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
  return count;
}

}  // namespace title
