#pragma once
// A transparent label that takes its mouse presses for itself (so they do not count as a click on
// the window's background) and reports a click. The title label also keeps the title's own bytes,
// which the web searches read back. What it shows comes from the disc or the INI files, so it is
// always plain text: a name that looks like markup must never load pictures or become a link.
#include <QLabel>
#include <QMouseEvent>
#include <string>

#include "app/left_click.h"

namespace app {

class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

  void setTitle(std::string bytes, const QString& shown) {
    title_ = std::move(bytes);
    setText(shown);
  }
  const std::string& title() const { return title_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    event->accept();
    click_.Press(*event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (click_.ReleaseInside(*this, *event)) emit clicked();
  }

 private:
  std::string title_;
  LeftClick click_;
};

}  // namespace app
