#include "platform/stand_in.h"

#include <gtest/gtest.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace platform {
namespace {

using testsupport::TempDir;

struct Kind {
  unsigned type;  // S_IFMT bits
  unsigned permissions;
  nlink_t links;
  off_t size;
};

std::string Head(const std::string& path, std::size_t count) {
  std::string bytes(count, '\0');
  std::ifstream in(path, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

Kind KindOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return {info.st_mode & S_IFMT, info.st_mode & 07777u, info.st_nlink, info.st_size};
}

TEST(StandIn, AnswersTheUpdatesChecksAsTheOriginalWould) {
  struct Row {
    const char* what;
    void (*make)(const TempDir& disc, const std::string& original);
    Kind want;
  } rows[] = {
      {"bytes up to the bound, mode kept",
       [](const TempDir&, const std::string& o) {
         FILE* f = std::fopen(o.c_str(), "w");
         std::fputs("[Autorun]\r\nFileNameMovie=Old.avi\r\n", f);
         std::fclose(f);
         ::chmod(o.c_str(), 0440);
       },
       {S_IFREG, 0440, 1, 16}},
      {"a sparse giant copied only up to the bound",
       [](const TempDir&, const std::string& o) {
         FILE* f = std::fopen(o.c_str(), "w");
         std::fclose(f);
         ::truncate(o.c_str(), 1ll << 34);
       },
       {S_IFREG, 0644, 1, 16}},
      {"a second hard link",
       [](const TempDir& disc, const std::string& o) {
         FILE* f = std::fopen(o.c_str(), "w");
         std::fclose(f);
         ::chmod(o.c_str(), 0644);
         ::link(o.c_str(), (disc / "other.ini").c_str());
       },
       {S_IFREG, 0644, 2, 0}},
      {"a symbolic link",
       [](const TempDir&, const std::string& o) { ::symlink("/etc/passwd", o.c_str()); },
       {S_IFLNK, 0777, 1, -1}},
      {"a directory", [](const TempDir&, const std::string& o) { ::mkdir(o.c_str(), 0700); }, {S_IFDIR, 0755, 2, -1}},
      {"a named pipe", [](const TempDir&, const std::string& o) { ::mkfifo(o.c_str(), 0600); },
       {S_IFIFO, 0644, 1, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir disc, copies;
    const std::string original = disc / "vplayer.ini";
    const mode_t mask = ::umask(022);
    row.make(disc, original);
    ASSERT_TRUE(MakeStandIn(original, copies / "vplayer.ini", 16));
    ::umask(mask);
    const Kind got = KindOf(copies / "vplayer.ini");
    EXPECT_EQ(got.type, row.want.type);
    EXPECT_EQ(got.permissions, row.want.permissions);
    EXPECT_EQ(got.links, row.want.links);
    if (row.want.size >= 0) {
      EXPECT_EQ(got.size, row.want.size);
    }
    if (row.want.type == S_IFREG && row.want.size > 0) {
      EXPECT_EQ(copies.Read("vplayer.ini"), Head(original, 16));
    }
  }
}

TEST(StandIn, ALinkedCopyNeverPointsOutOfItsDirectory) {
  TempDir disc, copies;
  ASSERT_EQ(::symlink("/etc/passwd", (disc / "bplay.ini").c_str()), 0);
  ASSERT_TRUE(MakeStandIn(disc / "bplay.ini", copies / "bplay.ini", 16));
  char target[4096] = {};
  ASSERT_GT(::readlink((copies / "bplay.ini").c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target).rfind(copies.path() + "/", 0), 0u) << target;
}

}  // namespace
}  // namespace platform
