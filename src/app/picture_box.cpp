#include "app/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace app {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(QImage picture, QSize natural) {
  picture_ = std::move(picture);
  natural_ = natural.isEmpty() ? picture_.size() : natural;
  scaled_ = QImage();
  update();
}

void PictureBox::applySwitches(const BoxState& switches) {
  switches_.stretched = switches.stretched;
  switches_.proportional = switches.proportional;
  switches_.centred = switches.centred;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  const QRect target = PictureRect(natural_, size(), switches_);
  if (target.isEmpty()) return;
  // The layout is in 96-dpi units that the system scales; the picture is drawn at the screen's own
  // resolution, so a large poster keeps its detail on a scaled screen rather than being enlarged.
  const qreal ratio = devicePixelRatioF();
  const QSize device = DeviceSize(target.size(), ratio);
  QPainter painter(this);
  if (picture_.size() == device) {
    painter.drawImage(target, picture_);
    return;
  }
  if (scaled_.size() != device) {
    scaled_ = picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled_.setDevicePixelRatio(ratio);
  }
  painter.drawImage(target, scaled_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  // Accepted, so a press on the poster never reaches the window's own background handler.
  event->accept();
  click_.Press(*event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (click_.ReleaseInside(*this, *event)) emit clicked();
}

}  // namespace app
