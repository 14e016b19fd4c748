#pragma once
// Counts the file system calls made by the code linked into the benchmark (the launcher's static
// libraries and the peers written here). The benchmark is linked with `-Wl,--wrap=<call>` for each
// call below, so every call from those objects passes through a counter on its way to the C
// library. Calls made inside shared libraries (Qt, libjpeg) are not seen.
#include <cstdint>

namespace bench {

struct SyscallCounts {
  std::int64_t open = 0, close = 0, fstat = 0, lseek = 0, read = 0, pread = 0;

  std::int64_t Reads() const { return read + pread; }
  std::int64_t Total() const { return open + close + fstat + lseek + read + pread; }
};

// The counts since the last reset. Single-threaded use only, like the launcher itself.
SyscallCounts& Counts();
void ResetCounts();

}  // namespace bench
