#include "first_paint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImageReader>
#include <QPainter>

namespace bench {

FirstPaintWatch::FirstPaintWatch(std::initializer_list<QWidget*> widgets)
    : unpainted_(widgets.begin(), widgets.end()) {
  for (QWidget* widget : widgets) {
    widgets_.emplace_back(widget);
    widget->installEventFilter(this);
  }
}

FirstPaintWatch::~FirstPaintWatch() {
  for (const QPointer<QWidget>& widget : widgets_)
    if (widget) widget->removeEventFilter(this);
}

bool FirstPaintWatch::Wait(std::chrono::milliseconds timeout) {
  QElapsedTimer clock;
  clock.start();
  while (!unpainted_.empty()) {
    if (clock.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

bool FirstPaintWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint) unpainted_.erase(watched);
  return false;
}

namespace {
constexpr int kCaptionHeight = 40;
}

BareWindow::BareWindow(const std::string& posterPath, const QString& caption)
    : picture_(QImageReader(QString::fromStdString(posterPath)).read()), caption_(caption) {
  resize(picture_.width(), picture_.height() + (caption_.isEmpty() ? 0 : kCaptionHeight));
}

void BareWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  if (!caption_.isEmpty())
    painter.drawText(QRect(0, picture_.height(), width(), kCaptionHeight), Qt::AlignCenter,
                     caption_);
}

void PrepareServices(testsupport::FakeServices& services, const std::string& discDirectory) {
  services.launcherDirectory = discDirectory + "/";
  services.online = true;
}

}  // namespace bench
