#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QUrl>

#include "platform/default_player_linux.h"
#include "platform/desktop_services.h"
#include "platform/files.h"
#include "platform/program_start_posix.h"
#include "platform/url.h"

namespace platform {

namespace {

QString PathFromBytes(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// A file URL made from the path's own bytes, so a name that is not valid UTF-8 survives.
QUrl FileUrl(const std::string& path) {
  return QUrl::fromEncoded(QByteArray::fromStdString(FileUrlOf(path)), QUrl::StrictMode);
}

// The movie in the desktop's default video player; without one, the desktop's opener chooses.
void PlayMovie(const std::string& movie, const std::string& subtitle) {
  if (const std::optional<std::string> exec = DefaultApplicationExec(XdgDirsFromEnvironment(), AviMimeTypes())) {
    if (std::optional<std::vector<std::string>> command = PlayerCommand(*exec, movie, subtitle)) {
      const std::string program = FindExecutable(command->front());
      command->erase(command->begin());
      if (!program.empty() && StartDetached(program, *command)) return;
    }
  }
  QDesktopServices::openUrl(FileUrl(movie));
}

// Qt keeps the user-scope settings of its own dialogs (QtProject.conf) in the user's
// configuration directory. Settings have no in-memory mode, so their user-scope directory becomes
// one that can never be created: every save then fails before a file is opened, and nothing is
// read back from an earlier run either.
void KeepToolkitSettingsUnsaved() {
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

class SystemServices : public DesktopServices {
 public:
  void StartProgram(const ProgramStart& start) override {
    const StartPlan plan = PlanProgramStart(start, FindExecutable("wine"));
    switch (plan.way) {
      case StartPlan::Way::Execute:
        StartDetached(plan.program, plan.arguments);
        break;
      case StartPlan::Way::Open:
        QDesktopServices::openUrl(FileUrl(plan.program));
        break;
      case StartPlan::Way::PlayMovie:
        PlayMovie(plan.movie, plan.subtitle);
        break;
      case StartPlan::Way::Nothing:
        break;
    }
  }

  void OpenUrl(const std::string& url) override {
    QDesktopServices::openUrl(UrlFromBytes(url));
  }

  // Players on Linux need not end in .exe, so every file can be shown too; the player filter
  // stays the one selected. The launcher writes no file but the players' INI files: Qt's own
  // dialog is used, as the desktop's dialogs keep their history and window sizes in files of
  // their own, and the history Qt's dialog saves as it closes goes nowhere.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    KeepToolkitSettingsUnsaved();
    const QString players = QStringLiteral("Player (executable) files (*.exe)");
    QString selected = players;
    const QString chosen = QFileDialog::getOpenFileName(
        Owner(), QString(), PathFromBytes(initialDirectory),
        players + QStringLiteral(";;All files (*)"), &selected, QFileDialog::DontUseNativeDialog);
    return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
  }
};

}  // namespace

std::unique_ptr<Services> MakeSystemServices() { return std::make_unique<SystemServices>(); }

}  // namespace platform
