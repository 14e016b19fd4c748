// INI files on Windows: the checks and one read on the opened file, and later the attribute reset
// and one replace of the whole file by a new one written beside it (or, where none can be made,
// one rewrite in place).
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/handle_win.h"
#include "platform/profile.h"

namespace platform {

namespace {

std::string CodeText(const char* what, DWORD code) { return std::string(what) + ": error " + std::to_string(code); }

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!WriteFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

std::string Suffix(unsigned long long seed) {
  std::string suffix;
  for (std::size_t i = 0; i < kTemporarySuffixLength; ++i, seed /= kTemporarySuffixLetters.size())
    suffix += kTemporarySuffixLetters[seed % kTemporarySuffixLetters.size()];
  return suffix;
}

struct PathParts {
  std::string directory;  // with its separator, "" for a bare name
  std::string name;
};
PathParts Split(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return {{}, path};
  return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

// Files that an update ended from outside (the task manager, a shutdown) left, as the start-up
// listed them. A running update holds its own open without sharing, so it cannot be deleted from
// under it.
void RemoveStaleTemporaries(const PathParts& parts, const std::vector<std::string>& stale) {
  for (const std::string& name : stale) {
    const std::string path = parts.directory + name;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0)
      DeleteFileA(path.c_str());
  }
}

// The file itself, rewritten as the system's profile functions write it. A longer content first
// extends the file, so a full medium refuses before any byte changes.
bool WriteInPlace(const std::string& path, const std::string& bytes) {
  Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  LARGE_INTEGER size{}, end{}, start{};
  end.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (!file.ok() || !GetFileSizeEx(file.get(), &size)) return false;
  if (end.QuadPart > size.QuadPart &&
      !(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get())))
    return false;
  return SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) && WriteAll(file.get(), bytes) &&
         SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
}

// The new content goes into a fresh file in the same directory (so the move below stays on one
// volume and is a rename), is flushed to the medium, and then takes the original's name in one
// step: a reader sees the old file or the new one, never a part of either. Where no such file can
// be made (a directory the user may not write to), the file is rewritten in place.
// A new, unshared temporary file beside the INI file; `temporary` receives its name.
Handle CreateTemporary(const PathParts& parts, std::string& temporary) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  for (unsigned attempt = 0; attempt < 16; ++attempt) {
    const unsigned long long seed =
        static_cast<unsigned long long>(counter.QuadPart) * 2654435761u + GetCurrentProcessId() * 40503u + attempt;
    temporary = parts.directory + TemporaryPrefix(parts.name) + Suffix(seed);
    Handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.ok() || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return Handle();
}

bool Replace(const std::string& path, const std::string& bytes) {
  std::string temporary;
  bool ok = false;
  {
    Handle file = CreateTemporary(Split(path), temporary);
    if (!file.ok()) return WriteInPlace(path, bytes);
    ok = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  }
  ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

}  // namespace

struct ProfileFile::Opened {
  Handle file;
};

ProfileFile::ProfileFile() = default;
ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;
ProfileFile::~ProfileFile() = default;

namespace {

// Whether the reset of the attributes would succeed; it fails on a medium that takes no writes.
Result<void> CheckCanMakeWritable(HANDLE file) {
  DWORD flags = 0;
  if (GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
      (flags & FILE_READ_ONLY_VOLUME))
    return Failure{CodeText("cannot be made writable", ERROR_WRITE_PROTECT)};
  return {};
}

// The checks on the opened file: whether it may be written, and why not.
Result<void> CheckWritable(HANDLE file) {
  if (GetFileType(file) != FILE_TYPE_DISK) return Failure{"not a regular file"};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return Failure{CodeText("cannot be examined", GetLastError())};
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Failure{"not a regular file"};
  if (info.nNumberOfLinks > 1) return Failure{"more than one hard link"};
  return CheckCanMakeWritable(file);
}

}  // namespace

ProfileFile ProfileFile::Open(const std::string& path) {
  ProfileFile opened;
  opened.path_ = path;
  ProfileFacts& facts = opened.facts_;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) facts.writable = Failure{"missing"};
  else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) facts.writable = Failure{"a symbolic link"};
  else if (attributes & FILE_ATTRIBUTE_DIRECTORY) facts.writable = Failure{"not a regular file"};
  if (!facts.writable) return opened;
  // Others may read and even rename it while it is open; the replace waits for the close.
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.ok()) {
    facts.writable = Failure{CodeText("cannot be opened", GetLastError())};
    return opened;
  }
  facts.writable = CheckWritable(file.get());
  if (!facts.writable) return opened;
  if (Result<std::string> content = ReadUpTo(file.get(), kProfileFileMax + 1)) facts.content = std::move(*content);
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size)) facts.allocated = size.QuadPart;
  ULARGE_INTEGER available{};
  const std::string directory = Split(path).directory;
  if (GetDiskFreeSpaceExA(directory.empty() ? nullptr : directory.c_str(), &available, nullptr, nullptr))
    facts.room = static_cast<std::int64_t>(available.QuadPart);
  opened.opened_ = std::make_unique<Opened>(Opened{std::move(file)});
  return opened;
}

bool ProfileFile::Apply(const ProfileUpdate& update, const std::vector<std::string>& stale) {
  if (!facts_.writable || !opened_) return true;
  opened_.reset();  // the replace below waits for no open of ours
  if (!SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
  RemoveStaleTemporaries(Split(path_), stale);
  if (update.kind != ProfileUpdate::Kind::Written) return true;
  return Replace(path_, update.bytes);
}

}  // namespace platform
