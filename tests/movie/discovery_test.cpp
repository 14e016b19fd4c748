#include "movie/discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;

struct Layout {
  std::vector<std::string> files;
  std::vector<std::string> directories;
};

void Create(const TempDir& dir, const Layout& layout) {
  for (const std::string& name : layout.files) dir.Write(name, "x");
  for (const std::string& name : layout.directories) dir.MakeDir(name);
}

std::vector<std::string> Listing(std::string_view pattern) {
  return platform::SearchDirectory(".", pattern).names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += "[" + name + "]";
  return text;
}

struct SubtitleCase {
  const char* what;
  std::string movie;
  Layout layout;
  std::string expected;
};

// Cases whose answer does not depend on the order the file system lists entries in.
const SubtitleCase kSubtitleCases[] = {
    {"txt before sub before srt", "Film.avi", {{"Film.avi", "film.SRT", "FILM.sub", "Film.txt"}, {}}, "Film.txt"},
    {"sub before srt", "Film.avi", {{"Film.avi", "film.srt", "FILM.SUB", "a.txt"}, {}}, "FILM.SUB"},
    {"named file beats wildcards", "Film.avi", {{"Film.avi", "Film.srt", "notes.txt", "x.sub"}, {}}, "Film.srt"},
    {"spelled as on disk", "Film.avi", {{"Film.avi", "film.srt"}, {}}, "film.srt"},
    {"exact spelling preferred", "Film.avi", {{"Film.avi", "FILM.TXT", "Film.txt"}, {}}, "Film.txt"},
    {"only ignored txt, then srt", "Film.avi", {{"Film.avi", "README.TXT", "english.srt"}, {}}, "english.srt"},
    {"ignored names in any case", "Film.avi",
     {{"Film.avi", "readme.txt", "Benioku.Txt", "New Text Document.txt", "x.srt", "y.sub"}, {}}, "y.sub"},
    {"single acceptable txt among ignored", "Film.avi",
     {{"Film.avi", "README.TXT", "BENIOKU.TXT", "turkish.txt", "y.sub"}, {}}, "turkish.txt"},
    {"txt wildcard before sub", "Film.avi", {{"Film.avi", "notes.txt", "other.sub"}, {}}, "notes.txt"},
    {"nothing at all", "Film.avi", {{"Film.avi", "Film.nfo", "Film.jpg"}, {}}, ""},
    {"an avi is no subtitle", "Film.avi", {{"Film.avi", "Film.txt.avi"}, {}}, ""},
    {"directory matches the srt wildcard", "Film.avi", {{"Film.avi"}, {"x.srt"}}, "x.srt"},
    {"directory named after the movie is skipped", "Film.avi", {{"Film.avi", "notes.sub"}, {"Film.srt"}},
     "notes.sub"},
    {"directory named after the movie, then the same name by wildcard", "Film.avi", {{"Film.avi"}, {"Film.srt"}},
     "Film.srt"},
    {"star in the movie name is no wildcard", "F*lm.avi", {{"F*lm.avi", "Film.txt", "F*LM.sub"}, {}}, "F*LM.sub"},
    {"question mark in the movie name is no wildcard", "F?lm.avi",
     {{"F?lm.avi", "Film.txt.bak", "Film.srt", "other.sub"}, {}}, "other.sub"},
    {"blanks and quotes in names", "My \"Film\" & Co.avi",
     {{"My \"Film\" & Co.avi", "my \"film\" & co.SRT"}, {}}, "my \"film\" & co.SRT"},
};

TEST(FindSubtitleFile, FollowsTheRulesInOrder) {
  for (const SubtitleCase& c : kSubtitleCases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Create(dir, c.layout);
    ScopedChdir chdir(dir.path());
    EXPECT_EQ(movie::FindSubtitleFile(c.movie), c.expected);
  }
}

// The "*.txt" step as stated: the first entry when acceptable, otherwise the last acceptable one.
std::string ExpectedTextPick(const std::vector<std::string>& listed) {
  if (listed.empty()) return "";
  if (!movie::IsIgnoredTextFile(listed.front())) return listed.front();
  std::string last;
  for (const std::string& name : listed)
    if (!movie::IsIgnoredTextFile(name)) last = name;
  return last;
}

// Listing order belongs to the file system, so the directory is re-made with other names until its
// listing has the wanted shape; the answer is then checked against that very order.
void CheckTextStep(bool firstListedIgnored) {
  const std::vector<std::string> ignored = {"New Text Document.txt", "README.TXT", "readme.txt",
                                            "BENIOKU.TXT", "benioku.txt", "ReadMe.Txt"};
  for (int attempt = 0; attempt < 50; ++attempt) {
    TempDir dir;
    Layout layout{ignored, {}};
    const std::string n = std::to_string(attempt);
    for (const char* stem : {"a", "b", "c"}) layout.files.push_back(stem + n + ".txt");
    layout.files.push_back("Film.avi");
    layout.files.push_back("z.srt");
    Create(dir, layout);
    ScopedChdir chdir(dir.path());
    const std::vector<std::string> listed = Listing("*.txt");
    ASSERT_EQ(listed.size(), 9u);
    if (movie::IsIgnoredTextFile(listed.front()) != firstListedIgnored) continue;
    SCOPED_TRACE("listed: " + Joined(listed));
    const std::string expected = ExpectedTextPick(listed);
    if (firstListedIgnored) {
      EXPECT_NE(expected, listed.front());
    } else {
      EXPECT_EQ(expected, listed.front());
    }
    EXPECT_EQ(movie::FindSubtitleFile("Film.avi"), expected);
    return;
  }
  FAIL() << "no listing with the wanted first entry";
}

TEST(FindSubtitleFile, LastAcceptableTextFileWinsWhenTheFirstIsIgnored) { CheckTextStep(true); }

TEST(FindSubtitleFile, FirstTextFileTakenAtOnceWhenAcceptable) { CheckTextStep(false); }

TEST(FindSubtitleFile, WildcardStepsTakeTheFirstListedEntry) {
  TempDir dir;
  Create(dir, {{"Film.avi", "one.sub", "two.SUB", "three.sub", "x.srt"}, {"dir.sub"}});
  ScopedChdir chdir(dir.path());
  const std::vector<std::string> listed = Listing("*.sub");
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(movie::FindSubtitleFile("Film.avi"), listed.front());
}

TEST(FindMovieFile, TakesTheFirstListedAvi) {
  struct Case {
    const char* what;
    Layout layout;
  };
  const Case cases[] = {
      {"none", {{"Film.mkv", "Film.avi.txt"}, {}}},
      {"one, upper case", {{"FILM.AVI", "x.txt"}, {}}},
      {"two", {{"One.avi", "Two.avi"}, {}}},
      {"a directory counts like a file", {{}, {"Clip.avi"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Create(dir, c.layout);
    ScopedChdir chdir(dir.path());
    const std::vector<std::string> listed = Listing("*.avi");
    EXPECT_EQ(movie::FindMovieFile(), listed.empty() ? "" : listed.front());
  }
}

TEST(FindMovieFile, EmptyDirectoryHasNoMovie) {
  TempDir dir;
  ScopedChdir chdir(dir.path());
  EXPECT_EQ(movie::FindMovieFile(), "");
  EXPECT_EQ(movie::FindSubtitleFile(""), "");
}

}  // namespace
