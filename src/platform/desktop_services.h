#pragma once
// What the real services share on every system: Qt's message boxes, the screen's sizes, the
// connection check and the launcher's directory. Each system's backend adds how programs, web
// addresses and the file dialog are handled there.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/files.h"
#include "platform/services.h"

namespace platform {

class DesktopServices : public Services {
 public:
  void SetOwnerWindow(QWidget* owner) override { owner_ = owner; }
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text) override;
  bool IsInternetConnected() override;
  ScreenSize Screen() override;
  WorkArea Work() override;
  // Found once, at start-up, while the current directory is still the one the launcher was
  // started in; "" when it cannot be known.
  std::string LauncherDirectory() override { return launcherDirectory_; }

 protected:
  QWidget* Owner() const { return owner_; }
  // Messages carry file names, which are in the system's own encoding.
  static QString FromBytes(const std::string& text);

 private:
  QPointer<QWidget> owner_;  // the dialogs' owner; cleared when that window goes
  std::string launcherDirectory_ = ExecutableDirectory();
};

}  // namespace platform
