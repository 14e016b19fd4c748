#pragma once
// The shell's "open" verb on Windows, which StartProgram and OpenUrl hand their texts to. For the
// *_win backends and their tests only.
#include <string>

#include "platform/result.h"

namespace platform {

// Hands `file` (a program, a document or a web address) to ShellExecuteA with the verb "open",
// `parameters` byte for byte (never split; "" passes none), no working directory, so a program
// starts in the current one, and the show command `show` (an SW_ value). `owner` is the window
// handle that owns any box the shell shows, or null. Returns at once. A failure, with its reason,
// when a text does not fit the shell's buffer (FitsShellBuffer; nothing is started then) or the
// shell refused.
Result<void> ShellOpen(void* owner, const std::string& file, const std::string& parameters, int show);

}  // namespace platform
