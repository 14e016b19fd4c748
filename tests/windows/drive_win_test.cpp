// The drive probe: which search codes mean a drive cannot be used, and the critical-error mode
// switched off around the probe and put back after it.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/drive_win.h"
#include "windows/win_support.h"

namespace {

TEST(DriveCodeSaysReady, OnlyTheSevenNotReadyCodes) {
  const struct {
    std::int32_t code;
    bool ready;
  } rows[] = {
      {ERROR_NOT_READY, false},          {ERROR_NOT_DOS_DISK, false},       {ERROR_HANDLE_DISK_FULL, false},
      {ERROR_DISK_FULL, false},          {ERROR_DISK_CORRUPT, false},       {ERROR_UNRECOGNIZED_MEDIA, false},
      {-2147287021, false},  // STG_E_DISKISWRITEPROTECTED
      {0, true},                         {ERROR_FILE_NOT_FOUND, true},      {ERROR_PATH_NOT_FOUND, true},
      {ERROR_ACCESS_DENIED, true},       {ERROR_NO_MORE_FILES, true},       {ERROR_WRITE_PROTECT, true},
      {21 + 65536, true},  // only the code itself, not its low bits
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(platform::DriveCodeSaysReady(row.code), row.ready);
  }
}

TEST(IsDriveReady, LettersOnlyAndTheSystemDriveIsReady) {
  EXPECT_TRUE(platform::IsDriveReady('C'));
  EXPECT_TRUE(platform::IsDriveReady('c'));
  for (const char notALetter : {'1', ':', '\\', '\0', '@', '['}) {
    SCOPED_TRACE(static_cast<int>(notALetter));
    EXPECT_FALSE(platform::IsDriveReady(notALetter));
  }
}

TEST(CriticalErrorsOff, SwitchesThePromptsOffAndPutsThePreviousModeBack) {
  const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  {
    const platform::CriticalErrorsOff quiet;
    EXPECT_EQ(GetErrorMode() & SEM_FAILCRITICALERRORS, static_cast<UINT>(SEM_FAILCRITICALERRORS));
  }
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  platform::IsDriveReady('C');
  EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  SetErrorMode(before);
}

}  // namespace
