// The Linux answers to "can this medium take my writes?", on the figures statvfs gives.
#include "platform/files_linux.h"

#include <gtest/gtest.h>

namespace {

TEST(CanTakeWrites, CountsOnlyTheBlocksAvailableToTheUser) {
  struct Row {
    const char* what;
    fsblkcnt_t blocks, free, available;
    unsigned long flags;
    bool takesWrites;
  };
  const Row rows[] = {
      {"free blocks for everyone", 1000, 100, 50, 0, true},
      {"only root's reserved blocks left", 1000, 50, 0, 0, false},
      {"nothing free", 1000, 0, 0, 0, false},
      {"no size reported (tmpfs without a limit)", 0, 0, 0, 0, true},
      {"mounted read-only", 1000, 100, 100, ST_RDONLY, false},
  };
  for (const Row& row : rows) {
    struct statvfs fs {};
    fs.f_blocks = row.blocks;
    fs.f_bfree = row.free;
    fs.f_bavail = row.available;
    fs.f_flag = row.flags;
    EXPECT_EQ(platform::CanTakeWrites(fs), row.takesWrites) << row.what;
  }
}

}  // namespace
