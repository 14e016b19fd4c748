#pragma once
// A recording stand-in for the launcher's effects and boxes, which can also make an effect fail,
// with the system facts a test gives the window.
#include <set>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/system_facts.h"
#include "platform/profile.h"
#include "platform/services.h"

namespace testsupport {

class FakeServices : public platform::Services, public app::Dialogs {
 public:
  using Start = platform::ProgramStart;
  struct Message {
    std::string text, caption;
  };

  std::vector<Start> starts;
  std::vector<std::string> urls;
  std::vector<std::string> iniUpdates;  // the path of each INI file an update was carried out on
  std::vector<Message> messages;
  std::vector<std::string> errors;
  std::vector<std::string> dialogDirectories;

  std::string startFailure;  // when set, every start fails with this message
  std::string openFailure;   // when set, every address fails to open with this message
  std::set<std::string> failingIniFiles;  // paths whose update fails at the write, the file untouched
  std::string chosenProgram;  // what the file dialog returns ("" = cancel)
  bool online = false;
  platform::ScreenSize screen{1024, 768};
  platform::WorkArea work{1024, 738};
  std::string launcherDirectory;  // set by the test (trailing '/')
  QWidget* ownerWindow = nullptr;  // what the window gave SetOwnerWindow

  // The facts above, as the window takes them when it is made; `online` is asked when the
  // start-up reaches its check.
  app::SystemFacts System() {
    return {launcherDirectory, screen, work, [this] { return online; }};
  }

  platform::Result<void> StartProgram(const platform::ProgramStart& start, platform::NativeWindow) override {
    starts.push_back(start);
    if (!startFailure.empty()) return platform::Failure{startFailure};
    return {};
  }
  platform::Result<void> OpenUrl(const std::string& url) override {
    urls.push_back(url);
    if (!openFailure.empty()) return platform::Failure{openFailure};
    return {};
  }
  // Carried out on the real file, as the tests look at what the start-up left there.
  bool UpdateIniFile(platform::ProfileFile& file, const platform::ProfileUpdate& update,
                     const std::vector<std::string>& stale) override {
    iniUpdates.push_back(file.path());
    return !failingIniFiles.contains(file.path()) && file.Apply(update, stale);
  }

  void SetOwnerWindow(QWidget* owner) override { ownerWindow = owner; }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({text, caption});
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::string ChooseProgram(const std::string& initialDirectory) override {
    dialogDirectories.push_back(initialDirectory);
    return chosenProgram;
  }
};

}  // namespace testsupport
