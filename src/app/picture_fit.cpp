#include "app/picture_fit.h"

#include <algorithm>
#include <cmath>

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

}  // namespace app
