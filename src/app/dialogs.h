#pragma once
// The boxes and the file dialog the window shows: the system's own (app::SystemDialogs), or a
// test's recording stand-in.
#include <string>

class QWidget;

namespace app {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The window that owns the boxes and the dialog, given once it exists; until then they have none.
  virtual void SetOwnerWindow(QWidget* owner) = 0;
  // Modal box with text, caption and OK; no icon.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // Modal box that reports an error with OK, titled with the application's title, with the error
  // icon.
  virtual void ShowError(const std::string& text) = 0;
  // File-open dialog for a player program; the chosen full path, "" when cancelled.
  virtual std::string ChooseProgram(const std::string& initialDirectory) = 0;
};

}  // namespace app
