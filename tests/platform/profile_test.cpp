// The INI editor: byte-level reads and edits, then the file forms on real files.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "support/profile_update.h"
#include "support/temp_dir.h"

namespace {

using platform::ProfileRead;
using platform::ProfileWrite;
using testsupport::TempDir;

TEST(ProfileRead, Table) {
  const std::string file =
      "; comment=not a key\r\n"
      "[Autorun]\r\n"
      "FileNameMovie=Film.avi\r\n"
      "  Spaced Key  =  spaced value  \r\n"
      "Quoted=\"My Film.avi\"\r\n"
      "Single='x'\r\n"
      "Mixed=\"x'\r\n"
      "Lone=\"\r\n"
      "Inner=a\"b\"\r\n"
      "Empty=\r\n"
      "Equals=a=b\r\n"
      "odd line without equals sign\r\n"
      "FileNameMovie=second.avi\r\n"
      "\r\n"
      "[ZORVALIN]\n"
      "param=  /X  \n"
      "[Subtitles]\r"
      "Sub1=lone-cr.srt\r"
      "[autorun]\n"
      "Hidden=later section of the same name\n"
      "[Last]\n"
      "NoBreak=end";
  struct Row {
    const char* section;
    const char* key;
    std::string value;
  };
  const Row rows[] = {
      {"Autorun", "FileNameMovie", "Film.avi"},  // the first key of that name
      {"AUTORUN", "filenamemovie", "Film.avi"},
      {"Autorun", "Spaced Key", "spaced value"},
      {"Autorun", "Quoted", "My Film.avi"},
      {"Autorun", "Single", "x"},
      {"Autorun", "Mixed", "\"x'"},               // quotes stripped only in a matching pair
      {"Autorun", "Lone", "\""},
      {"Autorun", "Inner", "a\"b\""},
      {"Autorun", "Empty", ""},
      {"Autorun", "Equals", "a=b"},
      {"Autorun", "Missing", ""},
      {"Autorun", "Hidden", ""},                  // only the first section of a name counts
      {"Autorun", "; comment", ""},
      {"Zorvalin", "Param", "/X"},
      {"Subtitles", "Sub1", "lone-cr.srt"},
      {"Last", "NoBreak", "end"},
      {"Nowhere", "FileNameMovie", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.section) + "/" + row.key);
    EXPECT_EQ(ProfileRead(file, row.section, row.key), row.value);
  }
}

TEST(ProfileRead, ValueIsCutAt2047Bytes) {
  const std::string longValue(5000, 'v');
  EXPECT_EQ(ProfileRead("[s]\nk=" + longValue + "\n", "s", "k"), std::string(2047, 'v'));
  // The quotes come off first, then the cut.
  EXPECT_EQ(ProfileRead("[s]\nk=\"" + std::string(2047, 'q') + "\"\n", "s", "k"), std::string(2047, 'q'));
  EXPECT_EQ(ProfileRead("[s]\nk=" + std::string(2047, 'w'), "s", "k"), std::string(2047, 'w'));
}

using namespace std::string_literals;  // NUL bytes inside the texts below

// Files the system's profile functions read otherwise than a plain reading would: each row gives
// the value they find. Writing a new value into that entry must change what they find, and leave
// every other entry reading as before.
TEST(ProfileFormat, ReadAndWrittenAsTheProfileFunctionsReadIt) {
  struct Row {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    std::string value;
  };
  const Row rows[] = {
      {"blanks inside the brackets", "[ Zorvalin ]\nFilmname=Das Boot\n", "Zorvalin", "Filmname", "Das Boot"},
      {"a tab inside the brackets", "[Movie\t]\r\nFName=Film.avi\r\n", "Movie", "FName", "Film.avi"},
      {"the name runs to the last ]", "[Zorvalin]]\nFilmname=x\n[Zorvalin]\nFilmname=Das Boot\n", "Zorvalin",
       "Filmname", "Das Boot"},
      {"a second ] after text", "[Movie] x]\nFName=a.avi\n", "Movie] x", "FName", "a.avi"},
      {"not the section before the last ]", "[Movie] x]\nFName=a.avi\n", "Movie", "FName", ""},
      {"form feed before a key", "[Zorvalin]\n\x0c" "Filmname=Das Boot\n", "Zorvalin", "Filmname", "Das Boot"},
      {"vertical tab before =", "[Zorvalin]\nFilmname\x0b=Das Boot\n", "Zorvalin", "Filmname", "Das Boot"},
      {"form feed before a header", "\x0c[Zorvalin]\nFilmname=Das Boot\n", "Zorvalin", "Filmname", "Das Boot"},
      {"^Z and tabs around a value", "[Zorvalin]\nFilmname=\tDas Boot\x1a\n", "Zorvalin", "Filmname", "Das Boot"},
      {"a key line without = comes first", "[Movie]\nFName\nFName=Film.avi\n", "Movie", "FName", ""},
      {"a key line without = alone", "[Movie]\n  FName \n", "Movie", "FName", ""},
      {"NUL ends a value", "[Zorvalin]\nFilmname=Das\0Boot\n"s, "Zorvalin", "Filmname", "Das"},
      {"NUL first in a value", "[Zorvalin]\nFilmname=\0Das Boot\n"s, "Zorvalin", "Filmname", ""},
      {"NUL ends a key name", "[Zorvalin]\nFilmname\0=Das Boot\n"s, "Zorvalin", "Filmname", "Das Boot"},
      {"NUL ends a section name", "[Zorvalin\0x]\nFilmname=Das Boot\n"s, "Zorvalin", "Filmname", "Das Boot"},
      {"a [ line without ] is a key of the section", "[Movie]\n[Subtitles\nFName=a.avi\n", "Movie", "FName",
       "a.avi"},
      {"a comment is no key", "[Movie]\n;FName=x\nFName=a.avi\n", "Movie", "FName", "a.avi"},
  };
  // Every entry the launcher reads or writes, and the odd names above.
  const std::pair<const char*, const char*> probes[] = {
      {"Zorvalin", "Filmname"}, {"Zorvalin", "Param"},   {"Movie", "FName"},        {"Movie", "Directory"},
      {"Subtitles", "Sub1"},    {"Movie] x", "FName"},   {"Zorvalin]", "Filmname"}, {"Autorun", "FileNameMovie"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ProfileRead(row.file, row.section, row.key), row.value);
    const std::string written = ProfileWrite(row.file, row.section, row.key, "New Film.avi");
    EXPECT_EQ(ProfileRead(written, row.section, row.key), "New Film.avi");
    for (const auto& [section, key] : probes) {
      if (platform::AsciiEqualNoCase(section, row.section) && platform::AsciiEqualNoCase(key, row.key)) continue;
      EXPECT_EQ(ProfileRead(written, section, key), ProfileRead(row.file, section, key)) << section << "/" << key;
    }
  }
}

TEST(ProfileWrite, ChangesTheEntryTheProfileFunctionsFind) {
  const std::pair<std::string, std::string> rows[] = {
      {"[ Movie ]\nFName=old\n", "[ Movie ]\nFName=Film.avi\n"},
      {"[Movie]\nFName\nFName=old\n", "[Movie]\nFName=Film.avi\nFName=old\n"},
      {"[Movie]\n\tFName  \r\n", "[Movie]\n\tFName=Film.avi  \r\n"},
      {"[Movie] x]\nFName=old\n", "[Movie] x]\nFName=old\n[Movie]\nFName=Film.avi\n"},
      {"[Movie]\nFName=Das\0Boot\n"s, "[Movie]\nFName=Film.avi\n"},
      {"[Movie]\nFName\0junk=old\n"s, "[Movie]\nFName\0junk=Film.avi\n"s},
      {"\x0c[Movie]\nFName\x0b=old\n", "\x0c[Movie]\nFName\x0b=Film.avi\n"},
  };
  for (const auto& [before, after] : rows) {
    SCOPED_TRACE(before);
    EXPECT_EQ(ProfileWrite(before, "Movie", "FName", "Film.avi"), after);
  }
}

// A name that would read back as another one is not written at all: cut at a line break (the
// rest becoming lines of its own), blanks lost at its ends, or quotes taken off.
TEST(IsProfileValue, OnlyWhatReadsBackAsItself) {
  const std::pair<std::string, bool> rows[] = {
      {"Film.avi", true},         {"", true},          {"\"Film.avi", true},        {"Mein Film.avi", true},
      {"Fi\nlm.avi", false},      {"Fi\rlm.avi", false}, {"Fi\0lm.avi"s, false},   {" Film.avi", false},
      {"Film.avi\t", false},      {"Film.avi\x0c", false}, {"\"Film.avi\"", false}, {"'Film.avi'", false},
      {std::string(2047, 'f'), true}, {std::string(2048, 'f'), false},
  };
  for (const auto& [value, writable] : rows) {
    EXPECT_EQ(platform::IsProfileValue(value), writable) << value;
    const std::string file = "[A]\nk=old\n";
    const std::string written = ProfileWrite(file, "A", "k", value);
    if (writable) EXPECT_EQ(ProfileRead(written, "A", "k"), value);
    else EXPECT_EQ(written, file);
  }
  const platform::ProfileUpdate refused =
      platform::ApplyProfileEdits("[A]\nk=old\n", {{"A", "j", "ok"}, {"A", "k", "Fi\nlm.avi"}});
  EXPECT_EQ(refused.kind, platform::ProfileUpdate::Kind::Skipped);
  EXPECT_EQ(refused.reason, platform::kUnwritableValue);
}

// The launcher reads at most kProfileFileMax bytes: a write that would make the file larger is
// not made, as afterwards neither this run's player start nor the next start would read it.
TEST(ProfileEdits, NeverGrowPastWhatTheLauncherReads) {
  const std::string head = "[Autorun]\r\nFileNameMovie=x\r\n";
  const std::string nearlyFull = head + std::string(platform::kProfileFileMax - 1 - head.size(), ';');
  ASSERT_EQ(nearlyFull.size(), 1048575u);
  const platform::ProfileUpdate grown = platform::ApplyProfileEdits(nearlyFull, {{"Autorun", "FileNameMovie", "xy"}});
  EXPECT_EQ(grown.kind, platform::ProfileUpdate::Kind::Written);
  EXPECT_EQ(grown.bytes.size(), platform::kProfileFileMax);
  const platform::ProfileUpdate tooLarge =
      platform::ApplyProfileEdits(nearlyFull, {{"Autorun", "FileNameMovie", "Film.avi"}});
  EXPECT_EQ(tooLarge.kind, platform::ProfileUpdate::Kind::Skipped);
  EXPECT_EQ(tooLarge.reason, "too large");
}

TEST(ProfileWrite, EditsKeepEveryOtherByte) {
  struct Row {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const Row rows[] = {
      {"replace in place, CRLF kept", "[Autorun]\r\nFileNameMovie=old.avi\r\nX=1\r\n", "autorun",
       "FILENAMEMOVIE", "Film.avi", "[Autorun]\r\nFileNameMovie=Film.avi\r\nX=1\r\n"},
      {"blanks around = and after the value stay", "[A]\nk =  old  \n", "A", "k", "new",
       "[A]\nk =  new  \n"},
      {"empty value replaced", "[A]\nk=\nz=1\n", "A", "k", "v", "[A]\nk=v\nz=1\n"},
      {"value emptied", "[A]\nk=v\n", "A", "k", "", "[A]\nk=\n"},
      {"key added after the section's last key, before blank lines and comments",
       "[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "v",
       "[A]\r\nx=1\r\nk=v\r\n; about B\r\n\r\n[B]\r\ny=2\r\n"},
      {"key added to a section without keys", "[A]\n\n[B]\n", "a", "k", "v", "[A]\nk=v\n\n[B]\n"},
      {"key added at the end of a file without a final break", "[A]\nx=1", "A", "k", "v",
       "[A]\nx=1\nk=v"},
      {"section added", "[A]\r\nx=1\r\n", "Movie", "FName", "Film.avi",
       "[A]\r\nx=1\r\n[Movie]\r\nFName=Film.avi\r\n"},
      {"section added after a missing final break", "[A]\nx=1", "Movie", "FName", "f",
       "[A]\nx=1\n[Movie]\nFName=f\n"},
      {"section added to an empty file", "", "Movie", "FName", "f", "[Movie]\r\nFName=f\r\n"},
      {"dominant line break wins", "[A]\nx=1\ny=2\r\nz=3\n", "B", "k", "v",
       "[A]\nx=1\ny=2\r\nz=3\n[B]\nk=v\n"},
      {"lone CR file", "[A]\rx=1\r", "A", "k", "v", "[A]\rx=1\rk=v\r"},
      {"a CR break added before an empty LF line keeps that line", "\r\r\r\r[A]\nx=1\n\n", "A", "k", "v",
       "\r\r\r\r[A]\nx=1\nk=v\r\n\n"},
      {"odd lines and comments untouched", "junk\n[A]\n;k=no\nnot a key\nk=old\n\tstray ]\n", "A", "k",
       "new", "junk\n[A]\n;k=no\nnot a key\nk=new\n\tstray ]\n"},
      {"only the first of two same-named keys", "[A]\nk=1\nk=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n"},
      {"a line break cannot smuggle in keys, nor be cut off", "[A]\nk=1\n", "A", "k",
       "evil\n[Zorvalin]\nParam=x", "[A]\nk=1\n"},
      {"values are written as given", "[A]\n", "A", "k", "\"quoted\" & $x", "[A]\nk=\"quoted\" & $x\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string after = ProfileWrite(row.before, row.section, row.key, row.value);
    EXPECT_EQ(after, row.after);
  }
}

TEST(ProfileWrite, ReadsBackWhatWasWritten) {
  std::string content = "; player settings\r\n[Movie]\r\nFName=old.avi\r\n";
  for (const char* value : {"Film.avi", "My Film (1995).avi", "", "x=y", "\xc7ocuk.avi"}) {
    SCOPED_TRACE(value);
    content = ProfileWrite(content, "Movie", "FName", value);
    content = ProfileWrite(content, "Subtitles", "Sub1", value);
    EXPECT_EQ(ProfileRead(content, "movie", "fname"), value);
    EXPECT_EQ(ProfileRead(content, "SUBTITLES", "sub1"), value);
  }
  EXPECT_EQ(content.rfind("; player settings\r\n[Movie]\r\nFName=", 0), 0u);
}

// A UTF-8 mark before the first section: that section is found and written in place, and the
// mark stays; a UTF-16 file is not touched at all.
TEST(ProfileEdits, ByteOrderMarks) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string file = bom + "[Autorun]\nFileNameMovie=old.avi\n";
  EXPECT_EQ(ProfileRead(file, "Autorun", "FileNameMovie"), "old.avi");
  const platform::ProfileUpdate edited =
      platform::ApplyProfileEdits(file, {{"Autorun", "FileNameMovie", "new.avi"}, {"Autorun", "S", "x"}});
  EXPECT_EQ(edited.kind, platform::ProfileUpdate::Kind::Written);
  EXPECT_EQ(edited.bytes, bom + "[Autorun]\nFileNameMovie=new.avi\nS=x\n");
  EXPECT_EQ(platform::ApplyProfileEdits(edited.bytes, {{"Autorun", "S", "x"}}).kind,
            platform::ProfileUpdate::Kind::Unchanged);
  for (const std::string& utf16 : {std::string("\xFF\xFE[\0", 4), std::string("\xFE\xFF\0[", 4)}) {
    const platform::ProfileUpdate skipped = platform::ApplyProfileEdits(utf16, {{"A", "k", "v"}});
    EXPECT_EQ(skipped.kind, platform::ProfileUpdate::Kind::Skipped);
    EXPECT_EQ(skipped.reason, "UTF-16");
  }
  EXPECT_EQ(platform::ApplyProfileEdits(std::string(platform::kProfileFileMax + 1, ';'), {}).reason, "too large");
}

// --- File forms -------------------------------------------------------------------------------


std::vector<std::string> Entries(const std::string& directory) {
  return testsupport::EntryNames(directory, "*");
}


TEST(ProfileFile, NeverCreatesAFile) {
  TempDir dir;
  const std::string path = dir / "bplay.ini";
  EXPECT_EQ(platform::ReadProfileContent(path), std::nullopt);
  const platform::ProfileUpdate update = testsupport::UpdateProfileFile(path, {{"Movie", "FName", "Film.avi"}});
  EXPECT_EQ(update.kind, platform::ProfileUpdate::Kind::Skipped);
  EXPECT_EQ(update.reason, "missing");
  EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(ProfileFile, RefusesWhatIsNotAnIniFile) {
  TempDir dir;
  dir.MakeDir("vplayer.ini");
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "vplayer.ini", {{"A", "k", "v"}}).reason, "not a regular file");

  // Far larger than any INI file: reading gives nothing and writing refuses rather than
  // rewriting the file from a part of it.
  const std::string huge = "[A]\nk=v\n" + std::string(2u << 20, ';');
  dir.Write("bplay.ini", huge);
  EXPECT_EQ(platform::ReadProfileContent(dir / "bplay.ini"), std::nullopt);
  EXPECT_EQ(testsupport::UpdateProfileFile(dir / "bplay.ini", {{"A", "k", "w"}}).reason,
            "Unable to write to " + dir / "bplay.ini");
  EXPECT_EQ(dir.Read("bplay.ini").size(), huge.size());
}

}  // namespace
