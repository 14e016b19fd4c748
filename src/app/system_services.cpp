#include "app/system_services.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QRect>
#include <QScreen>

#include "app/program_dialog.h"
#include "platform/files.h"
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

platform::Result<void> SystemServices::StartProgram(const platform::ProgramStart& start, platform::NativeWindow owner) {
  return platform::StartProgram(start, owner);
}

platform::Result<void> SystemServices::OpenUrl(const std::string& url) { return platform::OpenUrl(url); }

bool SystemServices::UpdateIniFile(platform::ProfileFile& file, const platform::ProfileUpdate& update,
                                   const std::vector<std::string>& stale) {
  return file.Apply(update, stale);
}

void SystemDialogs::ShowMessage(const std::string& text, const std::string& caption) {
  ShowBox(QMessageBox::NoIcon, FromBytes(caption), text, owner_);
}

void SystemDialogs::ShowError(const std::string& text) {
  ShowBox(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, owner_);
}

std::string SystemDialogs::ChooseProgram(const std::string& initialDirectory) {
  return ChooseProgramFile(owner_, initialDirectory);
}

SystemFacts ReadSystemFacts() {
  SystemFacts facts;
  facts.launcherDirectory = platform::ExecutableDirectory();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect whole = screen->geometry();
    const QRect area = screen->availableGeometry();
    facts.screen = {whole.width(), whole.height()};
    // One past the last pixel, as the system's rectangle has it (QRect::right() is the last one).
    facts.work = {area.x() + area.width(), area.y() + area.height(), area.x(), area.y()};
  }
  return facts;
}

}  // namespace app
