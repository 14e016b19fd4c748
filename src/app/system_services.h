#pragma once
// The launcher's real effects, boxes and system facts. Each effect goes to the system's backend
// through the free functions of platform/; the boxes and the file dialog are the window's looks.
#include <QPointer>
#include <QWidget>
#include <string>

#include "app/dialogs.h"
#include "app/system_facts.h"
#include "platform/services.h"

namespace app {

class SystemServices final : public platform::Services {
 public:
  platform::Result<void> StartProgram(const platform::ProgramStart& start, platform::NativeWindow owner) override;
  platform::Result<void> OpenUrl(const std::string& url) override;
  bool UpdateIniFile(platform::ProfileFile& file, const platform::ProfileUpdate& update,
                     const std::vector<std::string>& stale) override;
};

class SystemDialogs final : public Dialogs {
 public:
  void SetOwnerWindow(QWidget* owner) override { owner_ = owner; }
  void ShowMessage(const std::string& text, const std::string& caption) override;
  void ShowError(const std::string& text) override;
  std::string ChooseProgram(const std::string& initialDirectory) override;

 private:
  QPointer<QWidget> owner_;  // cleared when that window goes
};

// The launcher's directory, the primary screen and its work area. Needs the application object.
SystemFacts ReadSystemFacts();

}  // namespace app
