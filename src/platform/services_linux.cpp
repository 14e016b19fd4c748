#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include "platform/files.h"
#include "platform/online.h"
#include "platform/program_start_posix.h"
#include "platform/services.h"
#include "platform/url.h"

namespace platform {

namespace {

// Messages carry file names, which are in the system's own encoding.
QString FromBytes(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }
QString PathFromBytes(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// A file URL made from the path's own bytes, so a name that is not valid UTF-8 survives.
QUrl FileUrl(const std::string& path) {
  return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"),
                           QUrl::StrictMode);
}

class SystemServices : public Services {
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

  void SetOwnerWindow(QWidget* owner) override { owner_ = owner; }

  void OpenUrl(const std::string& url) override {
    QDesktopServices::openUrl(UrlFromBytes(url));
  }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    QMessageBox box(QMessageBox::NoIcon, FromBytes(caption), FromBytes(text), QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);  // texts carry disc names, never markup
    box.exec();
  }

  void ShowError(const std::string& text) override {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), FromBytes(text),
                    QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }

  // Players on Linux need not end in .exe, so every file can be shown too; the player filter
  // stays the one selected.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    const QString players = QStringLiteral("Player (executable) files (*.exe)");
    QString selected = players;
    const QString chosen = QFileDialog::getOpenFileName(
        owner_, QString(), PathFromBytes(initialDirectory),
        players + QStringLiteral(";;All files (*)"), &selected);
    return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
  }

  bool IsInternetConnected() override { return platform::IsInternetConnected(); }

  ScreenSize Screen() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = screen->geometry();
    return {area.width(), area.height()};
  }

  // Right and bottom one past the last pixel, as the classic work-area rectangle has them.
  WorkArea Work() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = screen->availableGeometry();
    return {area.x() + area.width(), area.y() + area.height()};
  }

  std::string LauncherDirectory() override { return ExecutableDirectory(); }

 private:
  QPointer<QWidget> owner_;  // the dialogs' owner; cleared when that window goes
};

}  // namespace

std::unique_ptr<Services> MakeSystemServices() { return std::make_unique<SystemServices>(); }

}  // namespace platform
