#pragma once
// Shared pieces of the fuzz harnesses: a hard stop for a broken property, a scratch file for
// loaders that only take a file name, and a byte reader that carves one input into fields.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzsupport {

// A property that failed: the message names it, the trap makes libFuzzer (and the replay driver
// under a sanitizer, or plain SIGILL without one) keep the input.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz property failed: %s\n", file, line, what);
  std::fflush(stderr);
  __builtin_trap();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::fuzzsupport::Fail(#condition, __FILE__, __LINE__))

// One file per process, rewritten for every input and removed at a normal exit (a crash leaves
// it behind, which is why tools/fuzz.sh points TMPDIR at a folder of its own). Without TMPDIR it
// lives in /dev/shm when there is one, so a run of millions of inputs does not wear a disk.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view suffix) {
    const char* base = std::getenv("TMPDIR");
    if (base == nullptr || *base == '\0') base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    path_ = std::string(base) + "/autorun-fuzz-" + std::to_string(::getpid()) + std::string(suffix);
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's content; the path is returned for the loader.
  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) Fail("cannot create the scratch file", __FILE__, __LINE__);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) Fail("cannot write the scratch file", __FILE__, __LINE__);
    return path_;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Takes fields off the front of the input: a length byte, then that many bytes (or what is left).
class Carver {
 public:
  Carver(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  // A field whose length is the next byte, cut to what is left.
  std::string Field() { return Take(Byte()); }
  std::string Take(std::size_t count) {
    const std::string_view taken = rest_.substr(0, count);
    rest_.remove_prefix(taken.size());
    return std::string(taken);
  }
  std::string Rest() { return Take(rest_.size()); }

 private:
  std::string_view rest_;
};

}  // namespace fuzzsupport
