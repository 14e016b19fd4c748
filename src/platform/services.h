#pragma once
// The effects the window has carried out, behind one seam: the launcher passes the real services
// (app::SystemServices, which hands each effect to the system's backend through the free functions
// of platform/), tests pass a recording fake. Everything else the launcher asks of the system is
// one of those free functions, called directly.
#include <string>
#include <vector>

#include "platform/profile.h"

#include "platform/program_start.h"

class QWidget;

namespace platform {

struct ScreenSize {
  int width = 0;
  int height = 0;
};
struct WorkArea {  // the desktop without task bars: right and bottom one past it, left and top its first pixel
  int right = 0;
  int bottom = 0;
  int left = 0;
  int top = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // The launcher window, which owns the file dialog and the message boxes (and, on Windows, is
  // the owner window of the shell's "open"). Until it is set, they have no owner. Services that
  // show nothing ignore it.
  virtual void SetOwnerWindow(QWidget* owner) { (void)owner; }
  // Starts the program with the parameter text, working directory = current directory. Returns
  // at once; failure goes unnoticed.
  virtual void StartProgram(const ProgramStart& start) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // Modal box with text, caption and OK; no icon.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // Modal box that reports an error with OK; the real services give it its caption and icon.
  virtual void ShowError(const std::string& text) = 0;
  // File-open dialog for a player program; returns the chosen full path, "" when cancelled.
  virtual std::string ChooseProgram(const std::string& initialDirectory) = 0;
  virtual bool IsInternetConnected() = 0;
  virtual ScreenSize Screen() = 0;
  virtual WorkArea Work() = 0;
  virtual std::string LauncherDirectory() = 0;  // trailing '/'
  // Carries out the update the start-up planned for an INI file it read (ProfileFile::Apply);
  // false when it failed.
  virtual bool UpdateIniFile(ProfileFile& file, const ProfileUpdate& update, const std::vector<std::string>& stale) {
    return file.Apply(update, stale);
  }
};

}  // namespace platform
