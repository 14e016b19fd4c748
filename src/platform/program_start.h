#pragma once
// Starting a player and opening a web address, as the shell's "open" verb does it: one contract,
// which each system's backend carries out (program_start_linux.cpp, program_start_win.cpp).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// A player to start and what it is to play.
struct ProgramStart {
  std::string program;     // found in the current directory, or a full path
  std::string parameters;  // the parameter text
  // The movie and its subtitle ("" when none), relative to the current directory or full paths:
  // a system that cannot run the player plays them in a player of its own instead.
  std::string movie;
  std::string subtitle;
};

// The system's handle of the window that owns whatever box the system shows about a start (a
// program that cannot run), so that it comes up on top of that window; 0 for none.
using OwnerWindow = std::uintptr_t;

// Starts `start.program` with the parameter text, working directory = current directory, and
// returns at once. A failure when nothing started (the program does not exist or cannot run, a
// text does not fit the shell's buffer where the system has one: FitsShellBuffer, no player or
// opener takes what is left to them), its message the text the user sees (UnableToStart). A
// program that fails once it runs goes unnoticed.
Result<void> StartProgram(const ProgramStart& start, OwnerWindow owner);

// Opens the web address `url`, its bytes as they are, in the desktop's browser; a failure
// (UnableToOpen) when no browser took it.
Result<void> OpenUrl(const std::string& url);

// The texts the user sees when `program` cannot be started or `url` cannot be opened, and why.
Failure UnableToStart(const std::string& program, const std::string& reason);
Failure UnableToOpen(const std::string& url, const std::string& reason);

// Windows hands program paths, parameter texts and web addresses to its shell in buffers of 256
// bytes with the terminator, as the players and the discs were made for.
inline constexpr std::size_t kShellTextMax = 255;

// Whether `text` can be handed over whole: at most kShellTextMax bytes and no NUL byte (which
// would end it early). A longer text is refused, never cut: a cut parameter text names another
// file or leaves a quote open, and a cut address opens another search.
bool FitsShellBuffer(std::string_view text);

}  // namespace platform
