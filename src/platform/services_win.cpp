// The services with outside effects on Windows: the shell's "open" verb for players and web
// addresses, the system's connection state, and Qt's boxes and file dialog. Text crosses into Qt
// in the system's ANSI code page, the code page of every name the "A" functions return.
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "platform/files.h"
#include "platform/online.h"
#include "platform/program_start_win.h"
#include "platform/services.h"

namespace platform {

namespace {

QString FromBytes(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

class SystemServices : public Services {
 public:
  void SetOwnerWindow(QWidget* owner) override { owner_ = owner; }

  // The owner window lets the shell put its own boxes (a program that cannot start) on top of
  // the launcher rather than behind it.
  void StartProgram(const std::string& program, const std::string& parameters) override {
    void* owner = owner_ ? reinterpret_cast<void*>(owner_->window()->winId()) : nullptr;
    ShellOpen(owner, program, parameters, SW_SHOWNORMAL);
  }

  void OpenUrl(const std::string& url) override { ShellOpen(nullptr, url, std::string(), SW_SHOW); }

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

  // The path comes back with the system's separators, as the players expect it in their
  // parameter texts.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    const QString chosen = QFileDialog::getOpenFileName(owner_, QString(), FromBytes(initialDirectory),
                                                        QStringLiteral("Player (executable) files (*.exe)"));
    return chosen.isEmpty() ? std::string() : QDir::toNativeSeparators(chosen).toLocal8Bit().toStdString();
  }

  bool IsInternetConnected() override { return platform::IsInternetConnected(); }

  ScreenSize Screen() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = screen->geometry();
    return {area.width(), area.height()};
  }

  // Right and bottom one past the last pixel, as the system's work-area rectangle has them.
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
