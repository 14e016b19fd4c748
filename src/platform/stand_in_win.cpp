#include "platform/stand_in.h"

#include <windows.h>

#include <algorithm>

namespace platform {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Streams at most `count` bytes from `from` to `to`.
bool CopyBytes(HANDLE from, HANDLE to, std::size_t count) {
  char chunk[65536];
  while (count > 0) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, count));
    if (!ReadFile(from, chunk, want, &got, nullptr)) return false;
    if (got == 0) return true;
    DWORD wrote = 0;
    if (!WriteFile(to, chunk, got, &wrote, nullptr) || wrote != got) return false;
    count -= got;
  }
  return true;
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool CopyRegularFile(const std::string& original, DWORD attributes, const std::string& copy,
                     std::size_t maxBytes) {
  {
    Handle to(CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!to.ok()) return false;
    // An original the user may not read gives an empty copy.
    Handle from(CreateFileA(original.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (from.ok()) {
      if (!CopyBytes(from.get(), to.get(), maxBytes)) return false;
      if (GetFileInformationByHandle(from.get(), &info) && info.nNumberOfLinks > 1 &&
          !CreateHardLinkA((copy + ".second-name").c_str(), copy.c_str(), nullptr))
        return false;
    }
  }
  return SetFileAttributesA(copy.c_str(), (attributes & kKeptAttributes) ? attributes & kKeptAttributes
                                                                         : FILE_ATTRIBUTE_NORMAL) != 0;
}

}  // namespace

bool MakeStandIn(const std::string& original, const std::string& copy, std::size_t maxBytes) {
  const DWORD attributes = GetFileAttributesA(original.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    const std::string target = copy + ".link-target";
    Handle empty(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return empty.ok() && CreateSymbolicLinkA(copy.c_str(), target.c_str(),
                                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return CreateDirectoryA(copy.c_str(), nullptr) != 0;
  return CopyRegularFile(original, attributes, copy, maxBytes);
}

}  // namespace platform
