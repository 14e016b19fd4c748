#include "platform/program_start.h"

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

}  // namespace

StartPlan PlanProgramStart(const std::string& program, const std::string& parameters,
                           const std::string& wine) {
  StartPlan plan;
  if (program.empty()) return plan;
  std::string path = program.front() == '/' ? program : CurrentDirectory() + "/" + program;
  const std::optional<std::string> onDisk = ResolveCase(path);
  if (!onDisk || !FileExists(*onDisk)) return plan;
  path = *onDisk;
  if (IsExecutableFile(path) && (!EndsWithExe(path) || IsNativeProgram(path))) {
    plan = {StartPlan::Way::Execute, path, SplitCommandLine(parameters)};
  } else if (EndsWithExe(path) && !wine.empty()) {
    plan = {StartPlan::Way::Execute, wine, SplitCommandLine(parameters)};
    plan.arguments.insert(plan.arguments.begin(), path);
  } else {
    plan = {StartPlan::Way::Open, path, {}};
  }
  return plan;
}

}  // namespace platform
