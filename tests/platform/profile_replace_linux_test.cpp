// How an INI update puts the new bytes on the disc: in place where no temporary file can be made,
// with the extended attributes kept, through a directory deeper than PATH_MAX, and without
// temporary files left behind by an interruption.
#include <fcntl.h>
#include <limits.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/profile_update.h"
#include "support/temp_dir.h"

namespace {

using platform::ProfileUpdate;
using testsupport::TempDir;

const std::vector<platform::ProfileEdit> kEdits = {{"Autorun", "FileNameMovie", "Film.avi"},
                                                   {"Autorun", "FileNameSubtitles", "Film.srt"}};
constexpr const char* kWritten = "[Autorun]\nFileNameMovie=Film.avi\nFileNameSubtitles=Film.srt\n";

ino_t Inode(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_ino;
}

// The names that look like the launcher's temporary files, sorted.
std::vector<std::string> Temporaries(const TempDir& dir) {
  std::vector<std::string> names = testsupport::EntryNames(dir.path(), ".*.autorun-*");
  std::sort(names.begin(), names.end());
  return names;
}

// A directory that takes no new entry while its files stay writable: for a user, one without
// write permission; root passes by permissions, so for root its immutable flag. Reverted at the end.
class ClosedDirectory {
 public:
  explicit ClosedDirectory(const std::string& path) : path_(path) {
    if (::geteuid() != 0) {
      closed_ = ::chmod(path.c_str(), 0555) == 0;
      return;
    }
    fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    closed_ = fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0 &&
              (flags |= FS_IMMUTABLE_FL, ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0);
  }
  ~ClosedDirectory() {
    if (fd_ >= 0) {
      int flags = 0;
      if (::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
      }
      ::close(fd_);
    } else {
      ::chmod(path_.c_str(), 0755);
    }
  }
  bool closed() const { return closed_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool closed_ = false;
};

TEST(UpdateProfileFile, InPlaceWhereNoTemporaryFileCanBeMade) {
  TempDir dir;
  const std::string path = dir.Write("vplayer.ini", "[Autorun]\nFileNameMovie=old.avi\n");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  const ino_t before = Inode(path);
  {
    ClosedDirectory closed(dir.path());
    if (!closed.closed()) GTEST_SKIP() << "this file system cannot close a directory to new entries";
    const ProfileUpdate update = testsupport::UpdateProfileFile(path, kEdits);
    EXPECT_EQ(update.kind, ProfileUpdate::Kind::Written) << update.reason;
  }
  EXPECT_EQ(dir.Read("vplayer.ini"), kWritten);
  EXPECT_EQ(Inode(path), before);
  EXPECT_EQ(testsupport::EntryNames(dir.path(), "*"), std::vector<std::string>{"vplayer.ini"});
  // Shorter content leaves no bytes of the old behind.
  EXPECT_EQ(testsupport::UpdateProfileFile(path, {{"Autorun", "FileNameSubtitles", "s"}}).kind,
            ProfileUpdate::Kind::Written);
  EXPECT_EQ(dir.Read("vplayer.ini"), "[Autorun]\nFileNameMovie=Film.avi\nFileNameSubtitles=s\n");
}

TEST(UpdateProfileFile, KeepsExtendedAttributes) {
  TempDir dir;
  const std::string path = dir.Write("bplay.ini", "[Autorun]\n");
  const std::string label = "disc 1";
  if (::setxattr(path.c_str(), "user.autorun.label", label.data(), label.size(), 0) != 0)
    GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
  const ino_t before = Inode(path);
  ASSERT_EQ(testsupport::UpdateProfileFile(path, kEdits).kind, ProfileUpdate::Kind::Written);
  EXPECT_NE(Inode(path), before);  // replaced, not rewritten in place
  char value[64] = {};
  const ssize_t length = ::getxattr(path.c_str(), "user.autorun.label", value, sizeof value);
  EXPECT_EQ(std::string(value, length > 0 ? static_cast<std::size_t>(length) : 0), label);
}

// The launcher started from a directory whose path the kernel cannot take in one call.
TEST(UpdateProfileFile, ThroughADirectoryDeeperThanPathMax) {
  TempDir top;
  std::string path = top.path();
  const std::string step(200, 'd');
  int at = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
  while (path.size() <= PATH_MAX + 100) {
    ASSERT_EQ(::mkdirat(at, step.c_str(), 0755), 0);
    const int next = ::openat(at, step.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(at);
    at = next;
    path += "/" + step;
  }
  const int file = ::openat(at, "VPLAYER.INI", O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, "[Autorun]\n", 10), 10);
  ::close(file);

  EXPECT_EQ(testsupport::UpdateProfileFile(path + "/vplayer.ini", kEdits).kind, ProfileUpdate::Kind::Written);
  char bytes[256] = {};
  const int back = ::openat(at, "VPLAYER.INI", O_RDONLY);
  ASSERT_GE(back, 0);
  const ssize_t got = ::read(back, bytes, sizeof bytes);
  ::close(back);
  ::close(at);
  EXPECT_EQ(std::string(bytes, got > 0 ? static_cast<std::size_t>(got) : 0), kWritten);
}

// What a killed update may leave is removed by the next one; nothing else that looks alike is.
TEST(UpdateProfileFile, RemovesOnlyItsOwnStaleTemporaryFiles) {
  TempDir dir;
  const std::string path = dir.Write("vplayer.ini", "[Autorun]\n");
  dir.Write(".vplayer.ini.autorun-Ab3dE9", "[Autorun]\nFileNameMovie=half");
  dir.Write(".vplayer.ini.autorun-X", "too short a suffix");
  dir.Write(".vplayer.ini.autorun-Ab3dE9x", "too long a suffix");
  dir.Write(".bplay.ini.autorun-Ab3dE9", "another file's");
  dir.Write("vplayer.ini.Ab3dE9", "not the launcher's name");
  dir.MakeDir(".vplayer.ini.autorun-Dir123");
  ASSERT_EQ(::symlink(path.c_str(), (dir / ".vplayer.ini.autorun-Link12").c_str()), 0);
  const std::string held = dir.Write(".vplayer.ini.autorun-Held12", "a running update's");
  const int holder = ::open(held.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);

  ASSERT_EQ(testsupport::UpdateProfileFile(path, kEdits).kind, ProfileUpdate::Kind::Written);
  ::close(holder);
  EXPECT_EQ(Temporaries(dir), (std::vector<std::string>{
                                  ".bplay.ini.autorun-Ab3dE9", ".vplayer.ini.autorun-Ab3dE9x",
                                  ".vplayer.ini.autorun-Dir123", ".vplayer.ini.autorun-Held12",
                                  ".vplayer.ini.autorun-Link12", ".vplayer.ini.autorun-X"}));
  EXPECT_EQ(dir.Read(".bplay.ini.autorun-Ab3dE9"), "another file's");
  EXPECT_EQ(dir.Read("vplayer.ini.Ab3dE9"), "not the launcher's name");
}

// Every entry but the INI file itself.
std::size_t Leftovers(const TempDir& dir) { return testsupport::EntryNames(dir.path(), "*").size() - 1; }

// A child that updates a large INI file over and over is stopped by `signal` as soon as a
// temporary file is seen. The INI file is whole afterwards; the temporary files left behind are
// counted, and the next update removes them.
std::size_t LeftAfterStopping(int signal) {
  TempDir dir;
  const std::string big(840 * 1024, ';');
  const std::string path = dir.Write("vplayer.ini", "[Autorun]\nFileNameMovie=a\n" + big);
  const pid_t child = ::fork();
  if (child == 0) {
    for (int round = 0;; ++round)
      testsupport::UpdateProfileFile(path, {{"Autorun", "FileNameMovie", round % 2 ? "a" : "b"}});
  }
  for (long look = 0; look < 100000000 && Leftovers(dir) == 0; ++look) {
  }
  ::kill(child, signal);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
  const std::string after = dir.Read("vplayer.ini");
  EXPECT_TRUE(after == "[Autorun]\nFileNameMovie=a\n" + big || after == "[Autorun]\nFileNameMovie=b\n" + big);
  const std::size_t left = Leftovers(dir);
  EXPECT_EQ(testsupport::UpdateProfileFile(path, kEdits).kind, ProfileUpdate::Kind::Written);
  EXPECT_EQ(Leftovers(dir), 0u);
  return left;
}

TEST(UpdateProfileFile, LeavesNoTemporaryFileWhenInterrupted) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) EXPECT_EQ(LeftAfterStopping(signal), 0u) << signal;
  // A kill cannot be handled: what it leaves, the next update removes (checked inside).
  EXPECT_LE(LeftAfterStopping(SIGKILL), 1u);
}

}  // namespace
