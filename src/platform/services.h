#pragma once
// The launcher's effects on the world outside its process, behind one seam: the launcher passes
// the real ones (app::SystemServices, which hands each to the system's backend), tests pass a
// recording fake that can also fail. Facts the launcher reads are not effects and are asked of the
// platform's free functions directly.
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/program_start.h"
#include "platform/result.h"

namespace platform {

class Services {
 public:
  virtual ~Services() = default;
  // StartProgram: the program with the parameter text, in the current directory; `owner` is the
  // window that any box of the system's own about the start belongs to. Returns at once.
  virtual Result<void> StartProgram(const ProgramStart& start, NativeWindow owner) = 0;
  // OpenUrl: the address in the desktop's browser.
  virtual Result<void> OpenUrl(const std::string& url) = 0;
  // Carries out the update the start-up planned for the INI file it read (ProfileFile::Apply);
  // false when it failed.
  virtual bool UpdateIniFile(ProfileFile& file, const ProfileUpdate& update, const std::vector<std::string>& stale) = 0;
};

}  // namespace platform
