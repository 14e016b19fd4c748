#include "app/system_services.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QRect>
#include <QScreen>

#include "app/program_dialog.h"
#include "platform/online.h"
#include "platform/program_start.h"

namespace app {

namespace {

// Messages carry file names, which are in the system's own encoding.
QString FromBytes(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

void ShowBox(QMessageBox::Icon icon, const QString& caption, const std::string& text, QWidget* owner) {
  QMessageBox box(icon, caption, FromBytes(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);  // texts carry disc names, never markup
  box.exec();
}

}  // namespace

// The owner window lets the system put its own boxes (a program that cannot start) on top of the
// launcher rather than behind it.
void SystemServices::StartProgram(const platform::ProgramStart& start) {
  platform::StartProgram(start, owner_ ? owner_->window()->winId() : 0);
}

void SystemServices::OpenUrl(const std::string& url) { platform::OpenUrl(url); }

void SystemServices::ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::NoIcon, FromBytes(caption), text, owner_);
}

void SystemServices::ShowError(const std::string& text) {
  ShowBox(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, owner_);
}

std::string SystemServices::ChooseProgram(const std::string& initialDirectory) {
  return ChooseProgramFile(owner_, initialDirectory);
}

bool SystemServices::IsInternetConnected() { return platform::IsInternetConnected(); }

platform::ScreenSize SystemServices::Screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->geometry();
  return {area.width(), area.height()};
}

// Right and bottom one past the last pixel, as the system's work-area rectangle has them.
platform::WorkArea SystemServices::Work() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->availableGeometry();
  return {area.x() + area.width(), area.y() + area.height(), area.x(), area.y()};
}

}  // namespace app
