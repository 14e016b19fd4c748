// The services with outside effects on Windows: the shell's "open" verb for players and web
// addresses, the system's connection state, and Qt's boxes and file dialog. Text crosses into Qt
// in the system's ANSI code page, the code page of every name the "A" functions return.
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QWidget>

#include "platform/desktop_services.h"
#include "platform/files.h"
#include "platform/program_start_win.h"

namespace platform {

namespace {

class SystemServices : public DesktopServices {
 public:
  // The owner window lets the shell put its own boxes (a program that cannot start) on top of
  // the launcher rather than behind it.
  void StartProgram(const std::string& program, const std::string& parameters) override {
    void* owner = Owner() ? reinterpret_cast<void*>(Owner()->window()->winId()) : nullptr;
    ShellOpen(owner, program, parameters, SW_SHOWNORMAL);
  }

  void OpenUrl(const std::string& url) override { ShellOpen(nullptr, url, std::string(), SW_SHOW); }

  // The path comes back with the system's separators, as the players expect it in their
  // parameter texts.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    const QString chosen = QFileDialog::getOpenFileName(Owner(), QString(), FromBytes(initialDirectory),
                                                        QStringLiteral("Player (executable) files (*.exe)"));
    return chosen.isEmpty() ? std::string() : QDir::toNativeSeparators(chosen).toLocal8Bit().toStdString();
  }
};

}  // namespace

std::unique_ptr<Services> MakeSystemServices() { return std::make_unique<SystemServices>(); }

}  // namespace platform
