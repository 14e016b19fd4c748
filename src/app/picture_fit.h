#pragma once
// Where the poster box draws its picture, as arithmetic the start-up plans the poster's decoding by.
#include <QRect>
#include <QSize>

#include "app/screen_size.h"

namespace app {

// Where a picture of size `picture` is drawn inside a box of size `box`. Stretched scales it to
// the largest size that fits; without stretching, in proportion only shrinks pictures larger than
// the box. Centred centres it, otherwise it starts at the top-left corner. Empty for no picture.
QRect PictureRect(QSize picture, QSize box, const BoxState& switches);

// The pixels a picture drawn at `logical` size covers on a screen scaled by `ratio` (its device
// pixel ratio), rounded up so that a picture of this size is never enlarged there.
QSize DeviceSize(QSize logical, qreal ratio);

}  // namespace app
