#pragma once
// The window's own chrome: the title strip and name plate pictures, which drag the window, the
// round close button with its released and pressed looks, and the gray edge line.
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "app/left_click.h"

class QLabel;
class QPainter;

namespace app {

// Makes widgets drag handles of their top-level window: pressing the left button on one and
// moving the pointer past the desktop's drag distance moves the window until the button is
// released, with the point pressed kept under the pointer. The window manager's interactive move
// is used where it has one, and only while the button is still held; elsewhere (a bare X server,
// offscreen, a release already past) the window is moved here, following the pointer.
class WindowDragger : public QObject {
  Q_OBJECT

 public:
  explicit WindowDragger(QObject* parent = nullptr);
  void addHandle(QWidget* handle);
  // True while a drag moves the window, by this dragger itself or by the window manager.
  bool movingWindow() const { return phase_ == Phase::Moving || phase_ == Phase::SystemMoving; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Phase { Idle, Pressed, Moving, SystemMoving };
  void Reset();
  bool OnPress(QWidget* handle, QEvent* event);
  bool OnMove(QEvent* event);
  void OnRelease(QEvent* event);
  // Whether the system took the move over.
  bool StartSystemMove(QPoint pointer);
  void Follow(QPoint pointer);

  Phase phase_ = Phase::Idle;
  QPointer<QWidget> window_;
  QPoint pressGlobal_;
  QPoint windowStart_;
};

// A picture drawn at its natural size from the left end and cut off at the widget's width; past
// the picture's right end nothing is drawn, so the window's background shows. Drags the window.
class StripPicture : public QWidget {
  Q_OBJECT

 public:
  explicit StripPicture(QImage picture = {}, QWidget* parent = nullptr);
  const QImage& picture() const { return picture_; }
  void setPicture(QImage picture);
  WindowDragger* dragger() const { return dragger_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
  WindowDragger* dragger_;
};

// The round close button: the released look (imgButton1) and the pressed look (imgButton2) stacked
// at one place, one visible at a time. Pressing shows the pressed look, releasing the released
// one; a release over the button is a click.
class CloseButton : public QWidget {
  Q_OBJECT

 public:
  CloseButton(const QImage& released, const QImage& pressed, QWidget* parent = nullptr);
  QLabel* imgButton1() const { return released_; }
  QLabel* imgButton2() const { return pressed_; }
  bool showsPressedLook() const;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowLook(bool pressed);

  QLabel* released_;
  QLabel* pressed_;
  LeftClick click_;
};

inline const QColor kEdgeLineColour(128, 128, 128);

// Draws the one-pixel line of a width x height frameless window: column width-1 from the top
// down, the bottom row from right to left, column 0 from the bottom up, each leg without its end
// point, so the top row is left to the title strip except its rightmost pixel. Paint it first:
// the children paint over it.
void PaintEdgeLine(QPainter& painter, int width, int height);

}  // namespace app
