// The file services on Windows, through the system's ANSI ("A") functions, so names stay the
// 8-bit text of the system's code page that the rest of the launcher works with.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "platform/drive_win.h"
#include "platform/files.h"
#include "platform/file_reader.h"
#include "platform/handle_win.h"
#include "platform/text.h"

namespace platform {

namespace {

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// A reparse point (a symbolic link or a junction) is asked what it points to, as the POSIX side
// follows links, when its name is one of those wanted; a dangling one is Other.
EntryKind KindOf(const std::string& directory, const WIN32_FIND_DATAA& found, NamePatterns wanted) {
  if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
  if (!MatchesAny(wanted, found.cFileName)) return EntryKind::Unknown;
  const std::string path = directory + found.cFileName;
  Handle target(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!target.ok() || !GetFileInformationByHandle(target.get(), &info)) return EntryKind::Other;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
}

// Opens an existing file for reading, refusing directories and devices ("CON", "NUL", "COM1"
// are names anywhere on Windows and must never be read as a disc file).
Result<Handle> OpenRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Failure{std::strerror(EISDIR)};
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return Failure{SystemMessage(GetLastError())};
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return Failure{"Not a regular file"};
  return file;
}

}  // namespace

char PathSeparator() { return '\\'; }

// The names' letters compared by their upper case, as NTFS and FAT compare them.
bool SameDirectory(const std::string& a, const std::string& b) {
  const std::optional<QString> left = DecodeSystemAnsi(WithTrailingSeparator(a));
  const std::optional<QString> right = DecodeSystemAnsi(WithTrailingSeparator(b));
  if (!left || !right) return WithTrailingSeparator(a) == WithTrailingSeparator(b);
  return CompareStringOrdinal(reinterpret_cast<LPCWCH>(left->utf16()), static_cast<int>(left->size()),
                              reinterpret_cast<LPCWCH>(right->utf16()), static_cast<int>(right->size()),
                              TRUE) == CSTR_EQUAL;
}

bool IsOnDrive(const std::string& directory) {
  return directory.size() >= 2 && AsciiUpperChar(directory[0]) >= 'A' && AsciiUpperChar(directory[0]) <= 'Z' &&
         directory[1] == ':';
}

// Without the critical-error mode off, listing a drive without a medium would ask the user to
// insert one.
Listing ListDirectory(const std::string& directory, NamePatterns kindPatterns) {
  const std::string prefix = directory.empty() ? std::string() : WithTrailingSeparator(directory);
  Listing listing;
  const CriticalErrorsOff quiet;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    listing.code = static_cast<int>(GetLastError());
    return listing;
  }
  DWORD end = ERROR_NO_MORE_FILES;
  for (;;) {
    if (!IsDotEntry(found.cFileName)) listing.entries.push_back({found.cFileName, KindOf(prefix, found, kindPatterns)});
    if (!FindNextFileA(search, &found)) {
      end = GetLastError();
      break;
    }
  }
  FindClose(search);
  if (!listing.entries.empty())
    listing.code = 0;
  else
    listing.code = end != ERROR_NO_MORE_FILES ? static_cast<int>(end) : kNothingFound;
  return listing;
}

// The file system already ignores letter case; a search for the exact name (no wildcards, which no
// Windows name can hold) gives its spelling as stored.
std::optional<std::string> ResolveCase(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return std::nullopt;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  const std::size_t separator = path.find_last_of("\\/:");
  const std::size_t nameAt = separator == std::string::npos ? 0 : separator + 1;
  if (nameAt >= path.size()) return path;  // a root or a directory given with its separator
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return path;
  FindClose(search);
  return path.substr(0, nameAt) + found.cFileName;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnterDirectory(const std::string& directory) { return SetCurrentDirectoryA(directory.c_str()) != 0; }

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return ".";
  std::string buffer(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, buffer.data());
  if (length == 0 || length >= needed) return ".";
  buffer.resize(length);
  return buffer;
}

std::string ExecutableDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() > 32768) return {};
    path.resize(path.size() * 2);
  }
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string ExecutableDirectoryAt(const std::string& directory) {
  const std::string asked = directory.empty() ? "." : directory;
  const DWORD needed = GetFullPathNameA(asked.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::string full(needed, '\0');
  const DWORD length = GetFullPathNameA(asked.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  return WithTrailingSeparator(full);
}

FileReader::FileReader(const std::string& path) {
  Result<Handle> file = OpenRegularFile(path);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file->get(), &size)) return;
  size_ = size.QuadPart;
  handle_ = reinterpret_cast<std::intptr_t>(file->release());
}

FileReader::~FileReader() {
  if (ok()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::string FileReader::ReadAt(std::int64_t offset, std::size_t count) const {
  if (offset < 0 || offset >= size_) return {};
  // Never allocate more than the file can give, whatever the caller asks for.
  const std::uint64_t available = static_cast<std::uint64_t>(size_ - offset);
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, available)), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::uint64_t at = static_cast<std::uint64_t>(offset) + done;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), bytes.data() + done, want, &got, &position) || got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes) {
  const Result<Handle> file = OpenRegularFile(path);
  if (!file) return Failure{file.error()};
  return ReadUpTo(file->get(), maxBytes);
}

Result<FileHandle> OpenDiscFile(const std::string& path) {
  Result<Handle> file = OpenRegularFile(path);
  if (!file) return Failure{CannotOpenMessage(path, file.error())};
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file->get()), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) return Failure{CannotOpenMessage(path, std::strerror(errno))};
  file->release();  // the descriptor owns it now
  FileHandle stream(_fdopen(descriptor, "rb"));
  if (!stream) {
    const int reason = errno;
    _close(descriptor);
    return Failure{CannotOpenMessage(path, std::strerror(reason))};
  }
  return stream;
}

bool IsMediumReady(const std::string& directory, int listingCode) {
  (void)listingCode;
  return IsOnDrive(directory) && IsDriveReady(directory[0]);
}

}  // namespace platform
