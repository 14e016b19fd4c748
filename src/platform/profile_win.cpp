// Updating a profile file on Windows: the checks on the opened file, the attribute reset, one
// read, and one replace of the whole file by a new one written beside it.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/files.h"
#include "platform/handle_win.h"
#include "platform/profile.h"

namespace platform {

namespace {

ProfileUpdate Skipped(std::string reason) { return {ProfileUpdate::Kind::Skipped, std::move(reason), {}}; }

std::string CodeText(const char* what, DWORD code) { return std::string(what) + ": error " + std::to_string(code); }

// At most `cap` bytes; nullopt on a read error.
std::optional<std::string> ReadUpTo(HANDLE file, std::size_t cap) {
  std::string bytes;
  char chunk[65536];
  while (bytes.size() < cap) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, static_cast<DWORD>(std::min(sizeof chunk, cap - bytes.size())), &got, nullptr))
      return std::nullopt;
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

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

// The new content goes into a fresh file in the same directory (so the move below stays on one
// volume and is a rename), is flushed to the medium, and then takes the original's name in one
// step: a reader sees the old file or the new one, never a part of either.
bool Replace(const std::string& path, const std::string& bytes) {
  const std::size_t separator = path.find_last_of("\\/");
  const std::string directory = separator == std::string::npos ? std::string(".") : path.substr(0, separator + 1);
  char temporary[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(directory.c_str(), "ini", 0, temporary)) return false;
  bool ok = false;
  {
    Handle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = file.ok() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  }
  ok = ok && MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temporary);
  return ok;
}

}  // namespace

ProfileUpdate UpdateProfileFile(const std::string& path, const std::vector<ProfileEdit>& edits) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Skipped("missing");
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Skipped("a symbolic link");
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Skipped("not a regular file");

  std::optional<std::string> content;
  {
    // Others may read and even rename it while it is open, but the replace waits for the close.
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.ok()) return Skipped(CodeText("cannot be opened", GetLastError()));
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return Skipped("not a regular file");
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return Skipped(CodeText("cannot be examined", GetLastError()));
    if (info.nNumberOfLinks > 1) return Skipped("more than one hard link");
    // A read-only medium refuses the reset, which makes it the test of whether the file can be
    // written at all.
    if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
      return Skipped(CodeText("cannot be made writable", GetLastError()));
    if (edits.empty()) return {};
    content = ReadUpTo(file.get(), kProfileFileMax + 1);
  }

  return WriteEditedProfile(path, content, edits,
                            [&](const std::string& bytes) { return Replace(path, bytes); });
}

}  // namespace platform
