#pragma once
// A push button with a 36x36 picture left of its caption, 3 pixels apart, the pair centred, and the
// caption's "&" letter underlined. Only a button that asks for it draws a focus rectangle.
#include <QPushButton>

namespace app {

class PictureButton : public QPushButton {
  Q_OBJECT
 public:
  PictureButton(const QString& caption, const QString& picture, QWidget* parent);
  void setDrawsFocusRect(bool draws) { drawsFocusRect_ = draws; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool drawsFocusRect_ = false;
};

}  // namespace app
