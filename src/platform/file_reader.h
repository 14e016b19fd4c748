#pragma once
// A disc file held open for reads at offsets, so that its size and all its bytes come from one
// open of one file, whatever takes its name meanwhile. ReadAt and FileSize (files.h) are one use
// of it each; a reader of several parts of a file keeps one. The backends are the files' own.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class FileReader {
 public:
  // Opens as every disc read does (files.h): without waiting, and only a regular file.
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  // False when the file could not be opened; it reads nothing then.
  bool ok() const { return size_ >= 0; }
  std::int64_t size() const { return size_; }
  // Up to `count` bytes at `offset`, fewer only at the end of the file or on a read error. A
  // negative offset or one at/past the end reads nothing.
  std::string ReadAt(std::int64_t offset, std::size_t count) const;

 private:
  std::intptr_t handle_ = -1;  // the system's: a descriptor, a HANDLE
  std::int64_t size_ = -1;
};

}  // namespace platform
