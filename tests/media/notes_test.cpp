// Which file holds the release notes, and how its bytes become the panel's lines.
#include "media/notes.h"
#include "platform/error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;

TEST(FindNotesFile, FirstNfoElseTheNewTextDocument) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::string expected;
  } rows[] = {
      {"nfo before the fallback", {"NEW TEXT DOCUMENT.TXT", "readme.nfo"}, "readme.nfo"},
      {"nfo in upper case", {"RELEASE.NFO"}, "RELEASE.NFO"},
      {"fallback in lower case", {"new text document.txt"}, "new text document.txt"},
      {"fallback as Windows names it", {"New Text Document.txt"}, "New Text Document.txt"},
      {"other text files are no notes", {"readme.txt", "film.srt"}, ""},
      {"nothing", {}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    for (const std::string& file : row.files) dir.Write(file, "x");
    ScopedChdir into(dir.path());
    EXPECT_EQ(media::FindNotesFile(), row.expected);
  }
}

std::vector<QString> Lines(std::initializer_list<const char16_t*> texts) {
  std::vector<QString> lines;
  for (const char16_t* text : texts) lines.push_back(QString::fromUtf16(text));
  return lines;
}

TEST(ReadNotesLines, SplitsAndDecodesTheWholeFileOneWay) {
  const struct {
    const char* name;
    const char* file;
    std::string bytes;
    std::vector<QString> expected;
  } rows[] = {
      {"CRLF, CR and LF", "a.nfo", "one\r\ntwo\rthree\nfour", Lines({u"one", u"two", u"three", u"four"})},
      {"empty lines kept, final break adds none", "a.nfo", "a\n\n\r\n\rb\r\n",
       Lines({u"a", u"", u"", u"", u"b"})},
      {"text ends at the first NUL", "a.nfo", std::string("shown\nalso\0hidden\nmore", 22),
       Lines({u"shown", u"also"})},
      {"empty file", "a.nfo", "", {}},
      {"nfo art is code page 437", "a.nfo", "\xC9\xCD\xBB\r\n\xB0\xB1\xB2\xDB", Lines({u"╔═╗", u"░▒▓█"})},
      {"the text file is code page 1252", "NEW TEXT DOCUMENT.TXT", "\x80 5\r\ncaf\xE9",
       Lines({u"€ 5", u"café"})},
      {"UTF-8 stays UTF-8 in an nfo", "a.nfo", "T\xC3\xBCrk\xC3\xA7" "e \xE2\x95\x94", Lines({u"Türkçe ╔"})},
      {"a byte-order mark is not text", "a.nfo", "\xEF\xBB\xBFhello", Lines({u"hello"})},
      {"nor before code page text", "a.nfo", "\xEF\xBB\xBF\xC9\xCD", Lines({u"╔═"})},
      // The first line alone is valid UTF-8; the file is not, so both lines read as 437.
      {"one decision per file", "a.nfo", "\xC3\xA9\n\xC9", Lines({u"├⌐", u"╔"})},
      {"tabs and blanks kept", "a.nfo", "\tx  ", Lines({u"\tx  "})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    dir.Write(row.file, row.bytes);
    ScopedChdir into(dir.path());
    EXPECT_EQ(media::ReadNotesLines(row.file), row.expected);
  }
}

TEST(ReadNotesLines, ReadsNoMoreThanOneMebibyte) {
  TempDir dir;
  ScopedChdir into(dir.path());
  const std::size_t cap = media::kMaxNotesBytes;

  dir.Write("long.nfo", std::string(cap - 2, 'a') + "\nTAIL\nmore lines\n");
  std::vector<QString> lines = media::ReadNotesLines("long.nfo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), static_cast<qsizetype>(cap - 2));
  EXPECT_EQ(lines[1], "T");

  // The limit falls inside a UTF-8 character: the fragment is dropped, the file stays UTF-8.
  dir.Write("cut.nfo", std::string(cap - 1, 'a') + "\xE2\x95\x94 box\n");
  lines = media::ReadNotesLines("cut.nfo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], QString(static_cast<qsizetype>(cap - 1), u'a'));

  // A real 437 byte at the limit is not mistaken for a cut character.
  dir.Write("art.nfo", std::string(cap - 1, '\xCD') + "\xBB");
  lines = media::ReadNotesLines("art.nfo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].back(), u'╗');
}

TEST(ReadNotesLines, AnUnreadableFileThrowsTheSystemsMessage) {
  TempDir dir;
  ScopedChdir into(dir.path());
  dir.MakeDir("folder.nfo");
  const struct {
    const char* file;
    const char* message;
  } rows[] = {{"folder.nfo", "Is a directory"}, {"missing.nfo", "No such file or directory"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    try {
      media::ReadNotesLines(row.file);
      ADD_FAILURE() << "no error";
    } catch (const platform::Error& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(row.file), std::string::npos) << error.what();
    }
  }
}

}  // namespace
