#pragma once
// A recording stand-in for the services with outside effects.
#include <string>
#include <vector>

#include "platform/services.h"

namespace testsupport {

class FakeServices : public platform::Services {
 public:
  using Start = platform::ProgramStart;
  struct Message {
    std::string text, caption;
  };

  std::vector<Start> starts;
  std::vector<std::string> urls;
  std::vector<Message> messages;
  std::vector<std::string> errors;
  std::vector<std::string> dialogDirectories;

  std::string chosenProgram;  // what the file dialog returns ("" = cancel)
  bool online = false;
  platform::ScreenSize screen{1024, 768};
  platform::WorkArea work{1024, 738};
  std::string launcherDirectory;  // set by the test (trailing '/')
  QWidget* ownerWindow = nullptr;  // what the window gave SetOwnerWindow

  void SetOwnerWindow(QWidget* owner) override { ownerWindow = owner; }

  void StartProgram(const platform::ProgramStart& start) override { starts.push_back(start); }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({text, caption});
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::string ChooseProgram(const std::string& initialDirectory) override {
    dialogDirectories.push_back(initialDirectory);
    return chosenProgram;
  }
  bool IsInternetConnected() override { return online; }
  platform::ScreenSize Screen() override { return screen; }
  platform::WorkArea Work() override { return work; }
  std::string LauncherDirectory() override { return launcherDirectory; }
};

}  // namespace testsupport
