#pragma once
// A transparent label that takes its mouse presses for itself (so they do not count as a click on
// the window's background) and reports a click. The title label also keeps the title's own bytes,
// which the web searches read back.
#include <QLabel>
#include <QMouseEvent>
#include <string>

namespace app {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

  void setTitle(std::string bytes, const QString& shown) {
    title_ = std::move(bytes);
    setText(shown);
  }
  const std::string& title() const { return title_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  }

 private:
  std::string title_;
};

}  // namespace app
