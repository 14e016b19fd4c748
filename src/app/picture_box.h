#pragma once
// The poster box: draws one picture centred, in proportion and stretched as its switches say. It
// paints nothing but the picture, so the window's background shows around it.
#include <QImage>
#include <QRect>
#include <QSize>
#include <QWidget>

#include "app/left_click.h"
#include "app/picture_fit.h"
#include "app/screen_size.h"

namespace app {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }
  // The size the box lays the picture out at: the poster's natural size, which a picture decoded
  // smaller than that (to the size it is drawn at) keeps.
  QSize naturalSize() const { return natural_; }
  // Takes the picture over; pass with std::move to avoid copying a large one. `natural` is the
  // picture's natural size when it was decoded at another one (an empty size: its own).
  void setPicture(QImage picture, QSize natural = QSize());
  // Takes the drawing switches (stretched, proportional, centred); size and auto-size stay with
  // the window, which sets this widget's geometry.
  void applySwitches(const BoxState& switches);

 signals:
  void clicked();  // left button pressed and released inside

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  QSize natural_;
  QImage scaled_;  // the picture at the device size last drawn, so repaints do not rescale
  BoxState switches_;
  LeftClick click_;
};

}  // namespace app
