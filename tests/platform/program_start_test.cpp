// What every system's start refuses: nothing to start, and texts the shell would have to cut.
#include "platform/program_start.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FitsShellBuffer, AtMost255BytesAndNoNul) {
  const struct {
    const char* what;
    std::string text;
    bool fits;
  } rows[] = {
      {"empty", "", true},
      {"255 bytes", std::string(255, 'a'), true},
      {"256 bytes", std::string(256, 'a'), false},
      {"255 code-page bytes", std::string(255, '\xFE'), true},
      {"a NUL inside", std::string("\"Film.avi\"\0 /A", 14), false},
      {"a NUL at the end", std::string("x\0", 2), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(platform::FitsShellBuffer(row.text), row.fits);
  }
}

// Refused before the system is asked, so no program runs and no box of the system's comes up.
TEST(StartProgram, NothingToStartIsReported) {
  const struct {
    const char* what;
    platform::ProgramStart start;
  } rows[] = {
      {"no program", {"", "\"Film.avi\"", "Film.avi", ""}},
      {"a program name no shell takes whole", {std::string(300, 'p') + ".exe", "", "", ""}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const platform::Result<void> started = platform::StartProgram(row.start, 0);
    EXPECT_FALSE(started);
    EXPECT_TRUE(started.error().starts_with("Unable to start " + row.start.program + ": ")) << started.error();
  }
}

}  // namespace
