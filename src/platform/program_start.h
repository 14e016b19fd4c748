#pragma once
// Starting a player and opening a web address, as the shell's "open" verb does it: one contract,
// which each system's backend carries out (program_start_linux.cpp, program_start_win.cpp).
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/display.h"
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

// Starts `start.program` with the parameter text, working directory = current directory, and
// returns at once. A box the system shows about the start (a program that cannot run) comes up on
// top of `owner`. A failure when nothing started (the program does not exist or cannot run, a
// text does not fit the shell's buffer where the system has one: FitsShellBuffer, no player or
// opener takes what is left to them), its message the text the user sees: "Unable to start
// <program>: <reason>". A program that fails once it runs goes unnoticed.
Result<void> StartProgram(const ProgramStart& start, NativeWindow owner);

// Opens the web address `url`, its bytes as they are, in the desktop's browser; a failure
// ("Unable to open <url>: <reason>") when no browser took it.
Result<void> OpenUrl(const std::string& url);

// The backends: StartProgram and OpenUrl as the system does them, whose failure is the reason alone.
Result<void> SystemStartProgram(const ProgramStart& start, NativeWindow owner);
Result<void> SystemOpenUrl(const std::string& url);

// The reason for a program that is not there.
inline constexpr const char* kNoSuchFile = "no such file";

// Windows hands program paths, parameter texts and web addresses to its shell in buffers of 256
// bytes with the terminator, as the players and the discs were made for.
inline constexpr std::size_t kShellTextMax = 255;

// Whether `text` can be handed over whole: at most kShellTextMax bytes and no NUL byte (which
// would end it early). A longer text is refused, never cut: a cut parameter text names another
// file or leaves a quote open, and a cut address opens another search.
bool FitsShellBuffer(std::string_view text);

}  // namespace platform
