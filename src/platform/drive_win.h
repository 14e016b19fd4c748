#pragma once
// Probing a drive on Windows without the system's "insert a disk" and "drive not ready" prompts.
// For the *_win backends and their tests only.
#include <cstdint>

namespace platform {

// Switches the system's critical-error prompts off for this process while it lives, and puts the
// previous mode back afterwards.
class CriticalErrorsOff {
 public:
  CriticalErrorsOff();
  ~CriticalErrorsOff();
  CriticalErrorsOff(const CriticalErrorsOff&) = delete;
  CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

 private:
  unsigned previous_;
};

// Whether the result code of a search of a drive's root says the drive can be used: false for
// the codes of a missing, unformatted, corrupt, full or write-protected medium, true for every
// other code (0, and "no matching entry" from an empty root, among them).
bool DriveCodeSaysReady(std::int32_t code);

// Searches "<letter>:\*.*" with the prompts off and judges the search's code; false for a
// character that is not a letter A to Z (either case).
bool IsDriveReady(char letter);

}  // namespace platform
