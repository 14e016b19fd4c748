// Starting programs on POSIX systems.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/program_start_posix.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/text.h"

namespace platform {

namespace {

bool EndsWithExe(const std::string& path) {
  return path.size() >= 4 && AsciiLower(std::string_view(path).substr(path.size() - 4)) == ".exe";
}

// Disc file systems (ISO 9660, FAT) often mark every file executable, so the execute bit alone
// does not tell a Windows program from one this system can run.
bool IsNativeProgram(const std::string& path) {
  const std::optional<std::string> head = ReadAt(path, 0, 4);
  return head && (head->rfind("\x7f" "ELF", 0) == 0 || head->rfind("#!", 0) == 0);
}

std::string Absolute(const std::string& path) {
  return path.empty() || path.front() == '/' ? path : CurrentDirectory() + "/" + path;
}

}  // namespace

StartPlan PlanProgramStart(const ProgramStart& start, const std::string& wine) {
  StartPlan plan;
  if (start.program.empty()) return plan;
  const std::optional<std::string> onDisk = ResolveCase(Absolute(start.program));
  if (!onDisk || !FileExists(*onDisk)) return plan;
  const std::string& path = *onDisk;
  if (IsExecutableFile(path) && (!EndsWithExe(path) || IsNativeProgram(path))) {
    plan.way = StartPlan::Way::Execute;
    plan.program = path;
    plan.arguments = SplitCommandLine(start.parameters);
  } else if (EndsWithExe(path) && !wine.empty()) {
    plan.way = StartPlan::Way::Execute;
    plan.program = wine;
    plan.arguments = SplitCommandLine(start.parameters);
    plan.arguments.insert(plan.arguments.begin(), path);
  } else if (EndsWithExe(path) && !start.movie.empty()) {
    plan.way = StartPlan::Way::PlayMovie;
    plan.movie = Absolute(start.movie);
    plan.subtitle = Absolute(start.subtitle);
  } else {
    plan.way = StartPlan::Way::Open;
    plan.program = path;
  }
  return plan;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A double fork: the intermediate child exits at once and is reaped here, so the program is
// adopted by init and never lingers as a zombie of the launcher. Between fork and exec only
// async-signal-safe calls are made, as the process may have other threads.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const char* file = program.c_str();

  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::setsid();
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      struct sigaction defaults {};
      defaults.sa_handler = SIG_DFL;
      ::sigaction(SIGPIPE, &defaults, nullptr);
      ::execv(file, argv.data());
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
