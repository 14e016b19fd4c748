#pragma once
// The launcher's real services. Each effect goes to the system's backend through the free
// functions of platform/ (starting programs, opening addresses, the connection check, the
// launcher's directory); the boxes and the file dialog are the window's looks and are made here.
#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/files.h"
#include "platform/services.h"

namespace app {

class SystemServices final : public platform::Services {
 public:
  void SetOwnerWindow(QWidget* owner) override { owner_ = owner; }
  void StartProgram(const platform::ProgramStart& start) override;
  void OpenUrl(const std::string& url) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  // Titled with the application's name, with the error icon.
  void ShowError(const std::string& text) override;
  std::string ChooseProgram(const std::string& initialDirectory) override;
  bool IsInternetConnected() override;
  platform::ScreenSize Screen() override;
  platform::WorkArea Work() override;
  // Found once, at start-up, while the current directory is still the one the launcher was
  // started in; "" when it cannot be known.
  std::string LauncherDirectory() override { return launcherDirectory_; }

 private:
  QPointer<QWidget> owner_;  // the dialogs' owner; cleared when that window goes
  std::string launcherDirectory_ = platform::ExecutableDirectory();
};

}  // namespace app
