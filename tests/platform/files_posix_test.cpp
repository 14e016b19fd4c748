// Directory search, name resolution and byte reading on real temporary directories.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "platform/files.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"

namespace {

using platform::WildcardMatch;
using testsupport::ScopedChdir;
using testsupport::ScratchMount;
using testsupport::TempDir;

TEST(WildcardMatch, Table) {
  struct Row {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Row rows[] = {
      {"*.avi", "Film.avi", true},
      {"*.avi", "FILM.AVI", true},
      {"*.AVI", "film.avi", true},
      {"*.avi", "film.avi.part", false},  // whole name, not a prefix
      {"*.avi", "film.av", false},
      {"*.avi", ".avi", true},            // a dot-file is an ordinary name
      {"*.avi", "avi", false},
      {"*", "", true},
      {"", "", true},
      {"", "a", false},
      {"?", "", false},
      {"?", "x", true},
      {"??.srt", "ab.srt", true},
      {"??.srt", "a.srt", false},
      {"f?lm.*", "FILM.txt", true},
      {"*a*b", "xaxxb", true},
      {"*a*b", "xaxxbc", false},
      {"a*", "a", true},
      {"**", "anything", true},
      {"*.tx?", "notes.TXT", true},
      {"\xc7*", "\xc7ocuk.avi", true},     // bytes above ASCII compare exactly
      {"\xe7*", "\xc7ocuk.avi", false},    // and are not case-folded
      {"[ab].avi", "[ab].avi", true},      // brackets are not a character class
      {"[ab].avi", "a.avi", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " vs " + row.name);
    EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.match);
  }
}

TEST(WildcardMatch, ManyStarsStayFast) {
  const std::string name(20000, 'a');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a", name));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

std::vector<std::string> ReaddirOrder(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = opendir(directory.c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir))
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

TEST(SearchDirectory, KeepsTheFileSystemsOrderAndEveryKindOfEntry) {
  TempDir dir;
  // Names created in an order that differs from sorted order.
  for (const char* name : {"m.avi", "B.AVI", "z.avi", "a.avi", ".hidden.avi", "notes.txt", "k.Avi"})
    dir.Write(name, "x");
  dir.MakeDir("folder.avi");
  ASSERT_EQ(symlink("m.avi", (dir / "link.avi").c_str()), 0);
  ASSERT_EQ(symlink("missing", (dir / "dangling.avi").c_str()), 0);

  std::vector<std::string> expected;
  for (const std::string& name : ReaddirOrder(dir.path()))
    if (name != "notes.txt") expected.push_back(name);

  const platform::DirSearch search = platform::SearchDirectory(dir.path(), "*.avi");
  EXPECT_EQ(search.code, 0);
  EXPECT_EQ(search.names, expected);
  EXPECT_EQ(search.names.size(), 9u);

  ScopedChdir here(dir.path());
  EXPECT_EQ(platform::FindFirst("*.AVI"), expected.front());
  EXPECT_EQ(platform::FindFirst("*.txt"), "notes.txt");
}

TEST(SearchDirectory, ResultCodes) {
  TempDir dir;
  dir.Write("a.txt");
  EXPECT_EQ(platform::SearchDirectory(dir.path(), "*.avi").code, ENOENT);
  EXPECT_TRUE(platform::SearchDirectory(dir.path(), "*.avi").names.empty());
  EXPECT_EQ(platform::SearchDirectory(dir / "absent", "*").code, ENOENT);
  EXPECT_EQ(platform::SearchDirectory(dir / "a.txt", "*").code, ENOTDIR);
  const platform::DirSearch empty = platform::SearchDirectory(dir.MakeDir("empty"), "*");
  EXPECT_EQ(empty.code, ENOENT);  // "." and ".." are never entries
  ScopedChdir here(dir.path());
  EXPECT_EQ(platform::FindFirst("*.avi"), "");
}

TEST(ResolveCase, ExactFirstThenIgnoringCase) {
  TempDir dir;
  dir.Write("Film.avi", "x");
  dir.Write("film.AVI", "y");
  dir.Write("Vplayer.INI", "z");
  dir.MakeDir("Sub");
  dir.Write("Sub/Inner.txt");
  struct Row {
    std::string asked;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {dir / "Film.avi", dir / "Film.avi"},   // exact hit wins over the other spelling
      {dir / "film.AVI", dir / "film.AVI"},
      {dir / "vplayer.ini", dir / "Vplayer.INI"},
      {dir / "VPLAYER.INI", dir / "Vplayer.INI"},
      {dir / "sub", dir / "Sub"},
      {dir / "Sub/INNER.TXT", dir / "Sub/Inner.txt"},
      {dir / "bplay.ini", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.asked);
    EXPECT_EQ(platform::ResolveCase(row.asked), row.expected);
  }
  ScopedChdir here(dir.path());
  EXPECT_EQ(platform::ResolveCase("VPLAYER.ini"), std::optional<std::string>("Vplayer.INI"));
}

TEST(FileExists, OnlyRegularFilesLinksFollowed) {
  TempDir dir;
  dir.Write("VPlayer.EXE", "x");
  dir.MakeDir("folder.srt");
  ASSERT_EQ(symlink("VPlayer.EXE", (dir / "Link.exe").c_str()), 0);
  ASSERT_EQ(symlink("folder.srt", (dir / "dirlink").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);
  ScopedChdir here(dir.path());
  struct Row {
    const char* name;
    bool exists;
  };
  const Row rows[] = {
      {"vplayer.exe", true}, {"VPLAYER.EXE", true}, {"VPlayer.EXE", true},
      {"link.exe", true},    {"folder.srt", false}, {"FOLDER.SRT", false},
      {"dirlink", false},    {"dangling", false},   {"bplay.exe", false},
      {"", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(platform::FileExists(row.name), row.exists);
  }
  EXPECT_TRUE(platform::FileExists(dir / "vplayer.exe"));
}

TEST(Directories, CurrentAndExecutable) {
  TempDir dir;
  ScopedChdir here(dir.path());
  char real[4096];
  ASSERT_NE(realpath(dir.path().c_str(), real), nullptr);
  EXPECT_EQ(platform::CurrentDirectory(), std::string(real));

  const std::string exeDir = platform::ExecutableDirectory();
  ASSERT_FALSE(exeDir.empty());
  EXPECT_EQ(exeDir.back(), '/');
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(length, 0);
  const std::string exe(self, static_cast<std::size_t>(length));
  EXPECT_EQ(exeDir, exe.substr(0, exe.rfind('/') + 1));
}

TEST(ReadAt, Boundaries) {
  TempDir dir;
  const std::string path = dir.Write("data.bin", "0123456789");
  struct Row {
    std::int64_t offset;
    std::size_t count;
    std::string expected;
  };
  const Row rows[] = {
      {0, 4, "0123"},   {6, 4, "6789"},       {8, 4, "89"},   // fewer at the end
      {9, 1, "9"},      {10, 1, ""},          {11, 5, ""},    // at and past the end
      {-1, 4, ""},      {0, 0, ""},           {0, 100, "0123456789"},
      {INT64_MIN, 4, ""}, {INT64_MAX, 4, ""}, {0, SIZE_MAX, "0123456789"},  // hostile values
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.offset) + "+" + std::to_string(row.count));
    const std::optional<std::string> bytes = platform::ReadAt(path, row.offset, row.count);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, row.expected);
  }
  EXPECT_EQ(platform::ReadAt(dir / "missing.avi", 0, 4), std::nullopt);
}

TEST(ReadAt, OffsetsBeyondFourGigabytes) {
  TempDir dir;
  const std::string path = dir / "sparse.bin";
  const std::int64_t offset = (std::int64_t{1} << 32) + 5;
  {
    std::ofstream out(path, std::ios::binary);
    out.seekp(offset);
    out.write("TAIL", 4);
    ASSERT_TRUE(out.good());
  }
  EXPECT_EQ(platform::ReadAt(path, offset, 10), std::optional<std::string>("TAIL"));
  EXPECT_EQ(platform::ReadAt(path, offset - (std::int64_t{1} << 32), 4),
            std::optional<std::string>(std::string(4, '\0')));  // not the low 32 bits
}

TEST(ReadAt, LeavesNoDescriptorOpen) {
  TempDir dir;
  const std::string path = dir.Write("a.bin", "abc");
  const auto openDescriptors = [] { return platform::SearchDirectory("/proc/self/fd", "*").names.size(); };
  const std::size_t before = openDescriptors();
  for (int i = 0; i < 50; ++i) {
    platform::ReadAt(path, 0, 2);
    platform::ReadAt(path, 99, 2);
    platform::ReadAt(path, -1, 2);
    platform::ReadFileHead(path, 2);
  }
  EXPECT_EQ(openDescriptors(), before);
}

TEST(ReadFileHead, CapsAndReportsTheSystemsMessage) {
  TempDir dir;
  const std::string path = dir.Write("notes.nfo", std::string(100000, 'n'));
  EXPECT_EQ(platform::ReadFileHead(path, 10).bytes, std::string(10, 'n'));
  EXPECT_EQ(platform::ReadFileHead(path, 200000).bytes.size(), 100000u);
  EXPECT_EQ(platform::ReadFileHead(path, 200000).error, "");

  const platform::FileRead missing = platform::ReadFileHead(dir / "absent.nfo", 10);
  EXPECT_EQ(missing.error, std::strerror(ENOENT));
  const platform::FileRead directory = platform::ReadFileHead(dir.MakeDir("d.nfo"), 10);
  EXPECT_EQ(directory.error, std::strerror(EISDIR));
  EXPECT_EQ(directory.bytes, "");
}

// A named pipe without a writer would block a plain open for ever.
TEST(ReadFileHead, NamedPipesDoNotHang) {
  TempDir dir;
  const std::string fifo = dir / "release.nfo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(platform::ReadFileHead(fifo, 100).bytes, "");
  EXPECT_EQ(platform::ReadAt(fifo, 0, 12), std::optional<std::string>(""));
  EXPECT_FALSE(platform::FileExists(fifo));
}

TEST(SplitTextLines, Table) {
  using Lines = std::vector<std::string>;
  struct Row {
    std::string text;
    Lines lines;
  };
  const Row rows[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\n", {"one"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\r b", {"a", "", " b"}},          // LF CR is two breaks, not one
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {std::string("ab\0cd\nef", 8), {"ab"}},  // the text ends at NUL
      {std::string("\0abc", 4), {}},
      {"  keep  \tblanks\t", {"  keep  \tblanks\t"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.text));
    EXPECT_EQ(platform::SplitTextLines(row.text), row.lines);
  }
}

TEST(MakeWritable, AddsTheOwnersWriteBit) {
  TempDir dir;
  const std::string path = dir.Write("vplayer.ini", "[x]\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(platform::MakeWritable(path));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  EXPECT_FALSE(platform::MakeWritable(dir / "missing.ini"));
}

// Permission bits stop nothing for root, so the read-only medium is a real read-only mount.
TEST(MakeWritable, FailsOnAReadOnlyMedium) {
  TempDir dir;
  ScratchMount medium(dir);
  if (!medium.Mounted()) GTEST_SKIP() << medium.WhyNot();
  const std::string path = medium.Write("vplayer.ini", "[x]\n");
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_TRUE(medium.RemountReadOnly());
  EXPECT_FALSE(platform::MakeWritable(path));  // even though the bit is already set
}

TEST(IsMediumReady, Table) {
  TempDir dir;
  EXPECT_TRUE(platform::IsMediumReady(dir.path()));       // writable, with free blocks
  EXPECT_TRUE(platform::IsMediumReady(dir.MakeDir("empty")));

  ScratchMount readOnly(dir);
  if (!readOnly.Mounted()) GTEST_SKIP() << readOnly.WhyNot();
  EXPECT_TRUE(platform::IsMediumReady(readOnly.path()));  // an empty, formatted, writable medium
  ASSERT_TRUE(readOnly.RemountReadOnly());
  EXPECT_FALSE(platform::IsMediumReady(readOnly.path()));

  TempDir other;
  ScratchMount full(other, 64);
  ASSERT_TRUE(full.Mounted());
  full.Fill();
  EXPECT_FALSE(platform::IsMediumReady(full.path()));
}

}  // namespace
