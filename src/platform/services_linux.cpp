#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QUrl>

#include "platform/desktop_services.h"
#include "platform/files.h"
#include "platform/program_start_posix.h"
#include "platform/url.h"

namespace platform {

namespace {

QString PathFromBytes(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// A file URL made from the path's own bytes, so a name that is not valid UTF-8 survives.
QUrl FileUrl(const std::string& path) {
  return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"),
                           QUrl::StrictMode);
}

class SystemServices : public DesktopServices {
 public:
  void StartProgram(const std::string& program, const std::string& parameters) override {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const StartPlan plan = PlanProgramStart(program, parameters, QFile::encodeName(wine).toStdString());
    switch (plan.way) {
      case StartPlan::Way::Execute:
        StartDetached(plan.program, plan.arguments);
        break;
      case StartPlan::Way::Open:
        QDesktopServices::openUrl(FileUrl(plan.program));
        break;
      case StartPlan::Way::Nothing:
        break;
    }
  }

  void OpenUrl(const std::string& url) override {
    QDesktopServices::openUrl(UrlFromBytes(url));
  }

  // Players on Linux need not end in .exe, so every file can be shown too; the player filter
  // stays the one selected.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    const QString players = QStringLiteral("Player (executable) files (*.exe)");
    QString selected = players;
    const QString chosen = QFileDialog::getOpenFileName(
        Owner(), QString(), PathFromBytes(initialDirectory),
        players + QStringLiteral(";;All files (*)"), &selected);
    return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
  }
};

}  // namespace

std::unique_ptr<Services> MakeSystemServices() { return std::make_unique<SystemServices>(); }

}  // namespace platform
