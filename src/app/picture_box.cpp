#include "app/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace app {

QRect PictureRect(QSize picture, QSize box, const BoxState& switches) {
  const qint64 pw = picture.width(), ph = picture.height();
  const qint64 bw = box.width(), bh = box.height();
  if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0) return {};

  qint64 w = pw, h = ph;
  const bool larger = pw > bw || ph > bh;
  if (switches.stretched || (switches.proportional && larger)) {
    if (!switches.proportional) {
      w = bw;
      h = bh;
    } else if (pw * bh <= ph * bw) {  // relatively taller than the box: height decides
      h = bh;
      w = std::max<qint64>(1, pw * bh / ph);
    } else {
      w = bw;
      h = std::max<qint64>(1, ph * bw / pw);
    }
  }
  qint64 left = 0, top = 0;
  if (switches.centred) {
    left = (bw - w) / 2;
    top = (bh - h) / 2;
  }
  return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(w),
               static_cast<int>(h));
}

QSize DeviceSize(QSize logical, qreal ratio) {
  return QSize(static_cast<int>(std::ceil(logical.width() * ratio)), static_cast<int>(std::ceil(logical.height() * ratio)));
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(QImage picture, QSize natural) {
  picture_ = std::move(picture);
  natural_ = natural.isEmpty() ? picture_.size() : natural;
  scaled_ = QImage();
  update();
}

void PictureBox::clearPicture() { setPicture(QImage()); }

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
