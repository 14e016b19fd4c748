// Starting programs on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

StartPlan ProbeProgramStart(const ProgramStart& start, const std::string& wine) {
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
// async-signal-safe calls are made, as the process may have other threads. A pipe that closes on
// exec brings back the reason when the program could not be executed.
Result<void> StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  // No program is no file, and two forks would only learn that.
  if (program.empty()) return Failure{std::strerror(ENOENT)};
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const char* file = program.c_str();

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return Failure{std::strerror(errno)};
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return Failure{std::strerror(error)};
  }
  if (child == 0) {
    ::close(report[0]);
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
      const int error = errno;
      (void)!::write(report[1], &error, sizeof error);
      ::_exit(127);
    }
    const int error = errno;
    if (grandchild < 0) (void)!::write(report[1], &error, sizeof error);
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // Nothing comes through the pipe once the program runs: its end closed with the exec.
  int error = 0;
  ssize_t got = 0;
  while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) return Failure{std::strerror(error)};
  return {};
}

}  // namespace platform
