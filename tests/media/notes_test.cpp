// Which file holds the release notes, and how its bytes become the panel's lines.
#include "media/info_panel.h"
#include "media/notes.h"
#include "platform/files.h"
#include "support/listing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;

TEST(FindNotesFile, FirstNfoElseTheNewTextDocument) {
  using testsupport::D;
  using testsupport::F;
  const struct {
    const char* name;
    std::vector<platform::ListingEntry> entries;
    std::string expected;
  } rows[] = {
      {"nfo before the fallback", {F("NEW TEXT DOCUMENT.TXT"), F("readme.nfo")}, "readme.nfo"},
      {"the first nfo in listing order", {F("b.nfo"), F("a.nfo")}, "b.nfo"},
      {"nfo in upper case", {F("RELEASE.NFO")}, "RELEASE.NFO"},
      {"fallback in lower case", {F("new text document.txt")}, "new text document.txt"},
      {"fallback as Windows names it", {F("New Text Document.txt")}, "New Text Document.txt"},
      {"a folder is found like a file, and fails when read", {D("extras.nfo"), F("z.nfo")}, "extras.nfo"},
      {"other text files are no notes", {F("readme.txt"), F("film.srt")}, ""},
      {"nothing", {}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(media::FindNotesFile(testsupport::Listed(row.entries)), row.expected);
  }
}

// The notes as the panel shows them.
// The notes as the launcher reads them from a file.
media::Notes ReadNotes(const std::string& file) {
  const platform::Result<std::string> read = platform::ReadFileHead(file, media::kMaxNotesBytes);
  EXPECT_TRUE(read) << read.error();
  return media::ParseNotes(read ? *read : std::string(), file);
}

std::vector<QString> ReadNotesLines(const std::string& file) {
  const media::Notes notes = ReadNotes(file);
  std::vector<QString> shown;
  for (const std::string& line : notes.lines) shown.push_back(media::NotesLineText(line, notes.encoding));
  return shown;
}

std::vector<QString> Lines(std::initializer_list<const char16_t*> texts) {
  std::vector<QString> lines;
  for (const char16_t* text : texts) lines.push_back(QString::fromUtf16(text));
  return lines;
}

TEST(ReadNotes, SplitsAndDecodesTheWholeFileOneWay) {
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
    EXPECT_EQ(ReadNotesLines(row.file), row.expected);
  }
}

// The read stops at 1 MiB; wherever that falls inside a UTF-8 character, the file stays UTF-8
// (the cut character is dropped, never taken for another encoding), and a code-page file whose
// last byte looks like a lead byte stays code page.
TEST(ReadNotes, TheOneMebibyteCutAtEveryPositionAroundAUtf8Character) {
  TempDir dir;
  ScopedChdir into(dir.path());
  const std::size_t cap = media::kMaxNotesBytes;
  const std::string first = "caf\xC3\xA9 \xE2\x95\x94\n";  // café ╔
  for (std::size_t start = cap - 4; start <= cap; ++start) {
    SCOPED_TRACE("a three-byte character starts at " + std::to_string(start));
    dir.Write("cut.nfo", first + std::string(start - first.size(), 'b') + "\xE2\x95\x94 tail\n");
    const media::Notes notes = ReadNotes("cut.nfo");
    EXPECT_EQ(notes.encoding, media::NotesEncoding::Utf8);
    ASSERT_EQ(notes.lines.size(), 2u);
    EXPECT_EQ(media::NotesLineText(notes.lines[0], notes.encoding), QString::fromUtf16(u"café ╔"));
    EXPECT_TRUE(notes.cut);
  }
  for (std::size_t end = cap - 1; end <= cap + 1; ++end) {
    SCOPED_TRACE("a 437 lead-like byte at " + std::to_string(end));
    dir.Write("art.nfo", "\xC9\xCD\xBB\n" + std::string(end - 4, '\xCD') + "\xC9");
    const media::Notes notes = ReadNotes("art.nfo");
    EXPECT_EQ(notes.encoding, media::NotesEncoding::Cp437);
    ASSERT_FALSE(notes.lines.empty());
    EXPECT_EQ(media::NotesLineText(notes.lines[0], notes.encoding), QString::fromUtf16(u"╔═╗"));
  }
}

// Real notes are shown whole; beyond the limits the notes are cut at line and character
// boundaries and say so.
TEST(ReadNotes, TheShownNotesAreBounded) {
  TempDir dir;
  ScopedChdir into(dir.path());
  std::string real;
  for (int i = 0; i < 400; ++i) real += std::string(300, 'x') + "\r\n";
  const std::string longUtf8 = std::string(media::kMaxNotesLineBytes - 1, 'a') + "\xC3\xA9 end";
  const struct {
    const char* name;
    std::string bytes;
    std::size_t lines;
    bool cut;
  } rows[] = {
      {"400 lines of 300 characters", real, 400, false},
      {"the most lines", std::string(media::kMaxNotesLines, '\n'), media::kMaxNotesLines, false},
      {"one line more", std::string(media::kMaxNotesLines + 1, '\n'), media::kMaxNotesLines, true},
      {"a mebibyte of CR", std::string(media::kMaxNotesBytes, '\r'), media::kMaxNotesLines, true},
      {"a line of the longest length", std::string(media::kMaxNotesLineBytes, 'a'), 1, false},
      {"a line one byte longer", std::string(media::kMaxNotesLineBytes + 1, 'a'), 1, true},
      {"a UTF-8 character across the line limit", longUtf8, 1, true},
      {"long lines up to the shown total", std::string(media::kMaxNotesBytes, 'w'), 1, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    dir.Write("n.nfo", row.bytes);
    const media::Notes notes = ReadNotes("n.nfo");
    EXPECT_EQ(notes.lines.size(), row.lines);
    EXPECT_EQ(notes.cut, row.cut);
    std::size_t shown = 0;
    for (const std::string& line : notes.lines) {
      EXPECT_LE(line.size(), media::kMaxNotesLineBytes);
      shown += line.size();
    }
    EXPECT_LE(shown, media::kMaxNotesShownBytes);
  }
  dir.Write("n.nfo", longUtf8);
  EXPECT_EQ(ReadNotes("n.nfo").lines[0], std::string(media::kMaxNotesLineBytes - 1, 'a'));
}

TEST(InfoPanelNotes, AnUnreadableFileNamesTheSystemsMessage) {
  TempDir dir;
  ScopedChdir into(dir.path());
  dir.MakeDir("folder.nfo");
  const struct {
    const char* file;
    const char* message;
  } rows[] = {{"folder.nfo", "Is a directory"}, {"missing.nfo", nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const platform::Result<std::string> read = platform::ReadFileHead(row.file, media::kMaxNotesBytes);
    const std::string error = media::BuildInfoPanel(std::nullopt, row.file, read, 400, '.').notesError;
    // The system's own text for a missing file, whatever its wording on this system.
    const std::string message = row.message ? row.message : read.error();
    ASSERT_FALSE(message.empty());
    EXPECT_NE(error.find(message), std::string::npos) << error;
    EXPECT_NE(error.find(row.file), std::string::npos) << error;
  }
}

}  // namespace
