// The file services on Windows: the directory search in the file system's own order with the
// system's result codes, file tests, the attribute reset, the launcher's directory and reads past
// 4 GiB.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/notes.h"
#include "media/poster.h"
#include "movie/launch.h"
#include "platform/files.h"
#include "support/temp_dir.h"
#include "windows/win_support.h"

#include <winioctl.h>  // after windows.h, which it needs

namespace {

using platform::EntryKind;
using testsupport::ScopedChdir;
using testsupport::TempDir;
using wintest::Attributes;
using wintest::Native;

// The names as a raw FindFirstFileA/FindNextFileA walk gives them, without "." and "..".
std::vector<std::string> RawOrder(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

TEST(ListDirectoryWin, EveryKindOfEntryInTheSystemsOrder) {
  TempDir dir;
  const std::string root = Native(dir);
  // Made out of alphabetical order, so a listing that sorts shows it wherever the system does not.
  for (const char* name : {"zeta.avi", "Movie.AVI", "alpha.srt", "hidden.txt", "system.sub", "locked.ini"})
    dir.Write(name, "x");
  dir.MakeDir("Folder.srt");
  ASSERT_TRUE(SetFileAttributesA((root + "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA((root + "system.sub").c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesA((root + "locked.ini").c_str(), FILE_ATTRIBUTE_READONLY));

  const platform::Listing listing = platform::ListDirectory(root);
  EXPECT_EQ(listing.code, 0);
  std::vector<std::string> names;
  for (const platform::ListingEntry& entry : listing.entries) names.push_back(entry.name);
  EXPECT_EQ(names, RawOrder(root));
  ASSERT_EQ(names.size(), 7u);
  EXPECT_EQ(platform::LookupEntry(listing, "folder.SRT")->kind, EntryKind::Directory);
  EXPECT_EQ(platform::LookupEntry(listing, "HIDDEN.TXT")->kind, EntryKind::File);

  // The same in the current directory, and a pattern's matches in that order, letter case ignored.
  ScopedChdir here(dir.path());
  const platform::Listing current = platform::ListDirectory("");
  EXPECT_EQ(current, listing);
  EXPECT_EQ(platform::MatchingNames(current, "*.avi").size(), 2u);
  SetFileAttributesA((root + "locked.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ListDirectoryWin, ResultCodesAreTheSystems) {
  TempDir dir;
  dir.MakeDir("empty");
  dir.Write("one.txt");
  const struct {
    const char* what;
    std::string directory;
    int code;
  } rows[] = {
      {"entries", Native(dir), 0},
      {"an empty directory", Native(dir) + "empty\\", ERROR_FILE_NOT_FOUND},
      {"a missing directory", Native(dir) + "missing\\", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::ListDirectory(row.directory).code, row.code);
  }
  EXPECT_EQ(platform::kNothingFound, ERROR_FILE_NOT_FOUND);
}

TEST(FileExistsWin, OnlyFilesInAnyLetterCase) {
  TempDir dir;
  dir.Write("VPlayer.exe", "MZ");
  dir.MakeDir("bplay.exe");
  ScopedChdir here(dir.path());
  const struct {
    const char* name;
    bool exists;
  } rows[] = {{"VPlayer.exe", true}, {"vplayer.EXE", true}, {"bplay.exe", false}, {"missing.exe", false}, {"", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(platform::FileExists(row.name), row.exists);
  }
  EXPECT_TRUE(platform::FileExists(Native(dir) + "VPLAYER.EXE"));
}

TEST(DirectoriesWin, LauncherAndCurrentDirectory) {
  const std::string launcher = platform::ExecutableDirectory();
  ASSERT_FALSE(launcher.empty());
  EXPECT_EQ(launcher.back(), '\\');
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  EXPECT_EQ(std::string(self).rfind(launcher, 0), 0u) << self;
  EXPECT_TRUE(platform::IsOnDrive(launcher));

  // At a drive's root the current directory ends in its separator, and Select Player's prefix
  // then in two.
  ScopedChdir root("C:\\");
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
  EXPECT_EQ(movie::DirectoryPrefix(platform::CurrentDirectory()), "C:\\\\");
  EXPECT_EQ(platform::WithTrailingSeparator(platform::CurrentDirectory()), "C:\\");
}

TEST(PathsWin, WhatCountsAsOnADrive) {
  const struct {
    const char* directory;
    bool onDrive;
  } rows[] = {
      {"D:\\", true}, {"d:\\Film\\", true}, {"C:/Users/x/", true}, {"\\\\server\\share\\", false},
      {"\\\\?\\D:\\", false}, {"Film\\", false}, {"1:\\", false}, {"", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.directory);
    EXPECT_EQ(platform::IsOnDrive(row.directory), row.onDrive);
  }
  EXPECT_EQ(platform::WithTrailingSeparator("D:\\Film"), "D:\\Film\\");
  EXPECT_EQ(platform::WithTrailingSeparator("D:/Film/"), "D:/Film/");
}

// Bytes written just past 4 GiB into a sparse file come back from the same offset; a reader with
// 32-bit offsets would read from the start of the file instead.
TEST(ReadAtWin, OffsetsPastFourGibibytes) {
  TempDir dir;
  const std::string path = Native(dir) + "big.avi";
  const std::int64_t offset = (std::int64_t{1} << 32) + 12;
  {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    DWORD wrote = 0;
    ASSERT_TRUE(WriteFile(file, "head", 4, &wrote, nullptr));
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
    ASSERT_TRUE(WriteFile(file, "RIFFtail", 8, &wrote, nullptr));
    CloseHandle(file);
  }
  EXPECT_EQ(platform::ReadAt(path, offset, 4), "RIFF");
  EXPECT_EQ(platform::ReadAt(path, offset + 4, 100), "tail");  // fewer at the end
  EXPECT_EQ(platform::ReadAt(path, offset + 8, 4), "");
  EXPECT_EQ(platform::ReadAt(path, 0, 4), "head");
  EXPECT_EQ(platform::ReadAt(path, -1, 4), "");
  EXPECT_EQ(platform::ReadAt(Native(dir) + "missing.avi", 0, 4), std::nullopt);
}

// A device name is a name in every directory on Windows: it must fail as an unreadable file does,
// without being read.
TEST(DiscFilesWin, DevicesAndDirectoriesAreRefused) {
  TempDir dir;
  dir.MakeDir("poster.jpg");
  for (const std::string& name : {std::string("NUL"), std::string("\\\\.\\NUL"), Native(dir) + "poster.jpg"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(platform::ReadAt(name, 0, 4), std::nullopt);
    EXPECT_FALSE(platform::ReadFileHead(name, 16).error().empty());
    const std::string opened = platform::OpenDiscFile(name).error();
    EXPECT_EQ(opened.rfind("Cannot open " + name + ": ", 0), 0u) << opened;
  }
  EXPECT_FALSE(media::LoadBmpPoster("NUL"));
}

// The launcher on the disc it shows is the same directory, however the system spelled its letters.
TEST(SameDirectoryWin, LetterCaseIgnoredAsTheFileSystemDoes) {
  EXPECT_TRUE(platform::SameDirectory("d:\\Films\\", "D:\\FILMS"));
  EXPECT_TRUE(platform::SameDirectory("D:\\", "d:\\"));
  EXPECT_FALSE(platform::SameDirectory("D:\\Films\\", "D:\\Film\\"));
}

}  // namespace
