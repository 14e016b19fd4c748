#pragma once
// The window's own clickable pictures and labels count a click as the push buttons do: the left
// button pressed on the widget and released while the pointer is still inside it.
#include <QMouseEvent>
#include <QWidget>
#include <utility>

namespace app {

class LeftClick {
 public:
  void Press(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) pressed_ = true;
  }
  // Whether this release ends a left-button press; the press is over either way.
  bool Release(const QMouseEvent& event) {
    return event.button() == Qt::LeftButton && std::exchange(pressed_, false);
  }
  void Cancel() { pressed_ = false; }
  // Whether this release completes a click on `widget`.
  bool ReleaseInside(const QWidget& widget, const QMouseEvent& event) {
    return Release(event) && widget.rect().contains(event.position().toPoint());
  }

 private:
  bool pressed_ = false;
};

}  // namespace app
