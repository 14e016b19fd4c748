#pragma once
// How POSIX systems carry out StartProgram the way the shell's "open" verb does, without a shell in
// between: a program file runs with the parameter text split into arguments, a Windows program
// runs through Wine, and any other file goes to the desktop's opener. Without Wine the movie of a
// Windows player plays in the desktop's own video player. For the *_posix and *_linux backends and
// their tests only.
#include <string>
#include <vector>

#include "platform/program_start.h"

namespace platform {

struct StartPlan {
  enum class Way { Nothing, Execute, Open, PlayMovie };
  Way way = Way::Nothing;
  std::string program;                 // Execute: the file to run; Open: the file to open
  std::vector<std::string> arguments;  // Execute only, without the program itself
  std::string movie, subtitle;         // PlayMovie: absolute paths (subtitle "" when none)
};

// Looks at `start.program` on disk (relative names are found in the current directory, letter
// case ignored; its first bytes tell a native program from a Windows one) and decides how to start
// it with `start.parameters` (split by SplitCommandLine). `wine` is the path of the Wine loader, ""
// when there is none.
//  - an executable file runs itself, unless it is named *.exe and is neither an ELF program nor a
//    script ("#!"): that one, and any other *.exe, runs through Wine when there is Wine;
//  - without Wine such a program cannot run here, so its movie is played instead (PlayMovie), when
//    the start names one;
//  - every other file goes to the desktop's opener (without the parameters);
//  - Nothing when the program file does not exist or is not a file.
StartPlan ProbeProgramStart(const ProgramStart& start, const std::string& wine);

// A regular file (links followed) that this process may execute.
bool IsExecutableFile(const std::string& path);

// Runs `program` with `arguments` byte for byte, in the current directory, in a session of its
// own and not as a child of this process; returns once it runs, without waiting for it to end. A
// failure, with the system's reason, when it could not be executed.
Result<void> StartDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace platform
