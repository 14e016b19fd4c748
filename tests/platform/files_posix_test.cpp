// Directory listing, name resolution and byte reading on real temporary directories.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <fstream>

#include "platform/files.h"
#include "support/scratch_mount.h"
#include "support/temp_dir.h"

namespace {

using testsupport::ScopedChdir;
using testsupport::ScratchMount;
using testsupport::TempDir;

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

// A link's kind costs a lookup of its own, made only for the names the caller wants: the others
// are Unknown. Files, directories and FIFOs come with their kinds from the directory itself.
TEST(ListDirectory, EveryEntryInTheFileSystemsOrderWithItsKind) {
  TempDir dir;
  for (const char* name : {"m.avi", "B.AVI", "z.avi", ".hidden", "notes.txt"}) dir.Write(name, "x");
  dir.MakeDir("folder.avi");
  ASSERT_EQ(symlink("m.avi", (dir / "file-link.avi").c_str()), 0);
  ASSERT_EQ(symlink("folder.avi", (dir / "dir-link").c_str()), 0);
  ASSERT_EQ(symlink("missing", (dir / "dangling.avi").c_str()), 0);
  ASSERT_EQ(symlink("/dev/null", (dir / "device.srt").c_str()), 0);
  ASSERT_EQ(mkfifo((dir / "pipe.jpg").c_str(), 0644), 0);
  using platform::EntryKind;
  const std::map<std::string, EntryKind> known = {
      {"m.avi", EntryKind::File},      {"B.AVI", EntryKind::File},     {"z.avi", EntryKind::File},
      {".hidden", EntryKind::File},    {"notes.txt", EntryKind::File}, {"folder.avi", EntryKind::Directory},
      {"pipe.jpg", EntryKind::Other}};
  const std::map<std::string, EntryKind> links = {
      {"file-link.avi", EntryKind::File}, {"dir-link", EntryKind::Directory},
      {"dangling.avi", EntryKind::Other}, {"device.srt", EntryKind::Other}};
  const struct {
    const char* name;
    std::vector<std::string_view> wanted;
    std::vector<std::string> lookedUp;
  } rows[] = {
      {"every name wanted", {"*"}, {"file-link.avi", "dir-link", "dangling.avi", "device.srt"}},
      {"none wanted", {}, {}},
      {"some wanted, letter case ignored", {"*.AVI", "DIR-LINK"}, {"file-link.avi", "dangling.avi", "dir-link"}},
      {"patterns matching only plain entries", {"m.avi", "*.txt", "pipe.jpg"}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    platform::Listing expected{0, {}};
    for (const std::string& name : ReaddirOrder(dir.path())) {
      const bool lookedUp = std::find(row.lookedUp.begin(), row.lookedUp.end(), name) != row.lookedUp.end();
      expected.entries.push_back(
          {name, known.count(name) ? known.at(name) : lookedUp ? links.at(name) : EntryKind::Unknown});
    }
    ASSERT_EQ(expected.entries.size(), known.size() + links.size());
    EXPECT_EQ(platform::ListDirectory(dir.path(), row.wanted), expected);
    ScopedChdir here(dir.path());
    EXPECT_EQ(platform::ListDirectory("", row.wanted), expected);
    EXPECT_EQ(platform::ListDirectory(".", row.wanted), expected);
  }
}

TEST(ListDirectory, ResultCodes) {
  TempDir dir;
  dir.Write("a.txt");
  EXPECT_EQ(platform::ListDirectory(dir.MakeDir("empty")), (platform::Listing{platform::kNothingFound, {}}));
  EXPECT_EQ(platform::ListDirectory(dir / "absent").code, ENOENT);
  EXPECT_EQ(platform::ListDirectory(dir / "a.txt").code, ENOTDIR);
  EXPECT_EQ(platform::kNothingFound, 2);  // the value the classic system's "no file found" has too
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

  // A launcher elsewhere, as the inspector names it: ".." stays, as a link may lie before it.
  const std::string cwd(real);
  for (const auto& [asked, taken] : std::vector<std::pair<std::string, std::string>>{
           {"", cwd + "/"}, {"disc", cwd + "/disc/"}, {"./a/./b/", cwd + "/a/b/"},
           {"link/../disc", cwd + "/link/../disc/"}, {"//a//b", "/a/b/"}, {"/", "/"}})
    EXPECT_EQ(platform::ExecutableDirectoryAt(asked), taken) << asked;
}

TEST(SameDirectory, ByteForByteWhateverTheTrailingSeparator) {
  EXPECT_TRUE(platform::SameDirectory("/media/cdrom/", "/media/cdrom"));
  EXPECT_FALSE(platform::SameDirectory("/media/CDROM/", "/media/cdrom/"));
  EXPECT_FALSE(platform::SameDirectory("/media/cdrom/", "/media/cdrom1/"));
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
  const auto openDescriptors = [] { return testsupport::EntryNames("/proc/self/fd", "*").size(); };
  const std::size_t before = openDescriptors();
  for (int i = 0; i < 50; ++i) {
    platform::ReadAt(path, 0, 2);
    platform::ReadAt(path, 99, 2);
    platform::ReadAt(path, -1, 2);
    static_cast<void>(platform::ReadFileHead(path, 2));
  }
  EXPECT_EQ(openDescriptors(), before);
}

TEST(ReadFileHead, CapsAndReportsTheSystemsMessage) {
  TempDir dir;
  const std::string path = dir.Write("notes.nfo", std::string(100000, 'n'));
  EXPECT_EQ(platform::ReadFileHead(path, 10).value(), std::string(10, 'n'));
  const platform::Result<std::string> whole = platform::ReadFileHead(path, 200000);
  ASSERT_EQ(whole.error(), "");
  EXPECT_EQ(whole->size(), 100000u);

  EXPECT_EQ(platform::ReadFileHead(dir / "absent.nfo", 10).error(), std::strerror(ENOENT));
  const platform::Result<std::string> directory = platform::ReadFileHead(dir.MakeDir("d.nfo"), 10);
  EXPECT_FALSE(directory);
  EXPECT_EQ(directory.error(), std::strerror(EISDIR));
}

// What a disc can put where a file is expected: a FIFO (a plain open would wait for a writer
// for ever), links to endless devices, a directory. Each read fails as an unreadable file does,
// at once, without reading a byte.
TEST(DiscReads, RefuseWhatIsNotARegularFile) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "Film.jpg").c_str(), 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir / "zero.nfo").c_str()), 0);
  ASSERT_EQ(symlink("/dev/urandom", (dir / "random.bmp").c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", (dir / "zero.avi").c_str()), 0);
  dir.MakeDir("folder.jpg");
  struct Row {
    const char* name;
    std::string reason;
  };
  const Row rows[] = {{"Film.jpg", "Not a regular file"},
                      {"zero.nfo", "Not a regular file"},
                      {"random.bmp", "Not a regular file"},
                      {"zero.avi", "Not a regular file"},
                      {"folder.jpg", std::strerror(EISDIR)},
                      {"missing.jpg", std::strerror(ENOENT)}};
  // A FIFO without a writer would block an open for ever; the suite's time limit catches that.
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir / row.name;
    EXPECT_EQ(platform::ReadAt(path, 0, 12), std::nullopt);
    EXPECT_EQ(platform::ReadFileHead(path, 1u << 20).error(), row.reason);
    EXPECT_EQ(platform::OpenDiscFile(path).error(), platform::CannotOpenMessage(path, row.reason));
    EXPECT_FALSE(platform::FileExists(path));
  }
}

TEST(DiscReads, FollowLinksToRegularFiles) {
  TempDir dir;
  dir.Write("poster.jpg", "JFIF bytes");
  ASSERT_EQ(symlink("poster.jpg", (dir / "Film.jpg").c_str()), 0);
  EXPECT_EQ(platform::ReadAt(dir / "Film.jpg", 5, 99), std::optional<std::string>("bytes"));
  EXPECT_EQ(platform::ReadFileHead(dir / "Film.jpg", 4).value(), "JFIF");
  const platform::Result<platform::FileHandle> file = platform::OpenDiscFile(dir / "Film.jpg");
  ASSERT_TRUE(file) << file.error();
  char buffer[16] = {};
  EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file->get()), 10u);
  EXPECT_STREQ(buffer, "JFIF bytes");
}

// With the code of a listing of the directory just made, as the start-up has it.
bool IsListedMediumReady(const std::string& directory) {
  return platform::IsMediumReady(directory, platform::ListDirectory(directory).code);
}

TEST(IsMediumReady, Table) {
  TempDir dir;
  EXPECT_TRUE(IsListedMediumReady(dir.path()));  // writable, with free blocks
  EXPECT_TRUE(IsListedMediumReady(dir.MakeDir("empty")));
  // A listing already made decides for itself: its code says whether the medium answered.
  EXPECT_TRUE(platform::IsMediumReady(dir.path(), platform::kNothingFound));
  EXPECT_FALSE(platform::IsMediumReady(dir.path(), EIO));
  EXPECT_FALSE(platform::IsMediumReady(dir.path(), ENXIO));

  ScratchMount readOnly(dir);
  if (!readOnly.Mounted()) GTEST_SKIP() << readOnly.WhyNot();
  EXPECT_TRUE(IsListedMediumReady(readOnly.path()));  // an empty, formatted, writable medium
  ASSERT_TRUE(readOnly.RemountReadOnly());
  EXPECT_FALSE(IsListedMediumReady(readOnly.path()));

  TempDir other;
  ScratchMount full(other, 64);
  ASSERT_TRUE(full.Mounted());
  full.Fill();
  EXPECT_FALSE(IsListedMediumReady(full.path()));
}

}  // namespace
