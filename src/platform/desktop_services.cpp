#include "platform/desktop_services.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QRect>
#include <QScreen>

#include "platform/files.h"
#include "platform/online.h"

namespace platform {

QString DesktopServices::FromBytes(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

void DesktopServices::ShowMessage(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::NoIcon, FromBytes(caption), FromBytes(text), QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);  // texts carry disc names, never markup
  box.exec();
}

void DesktopServices::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), FromBytes(text),
                  QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool DesktopServices::IsInternetConnected() { return platform::IsInternetConnected(); }

ScreenSize DesktopServices::Screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->geometry();
  return {area.width(), area.height()};
}

// Right and bottom one past the last pixel, as the system's work-area rectangle has them.
WorkArea DesktopServices::Work() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect area = screen->availableGeometry();
  return {area.x() + area.width(), area.y() + area.height(), area.x(), area.y()};
}

}  // namespace platform
