#pragma once
// Getting a window on screen and painted, for the launcher and for the bare window it is measured
// against. Both run on whatever platform plugin the application uses (offscreen in the benchmarks).
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "support/fake_services.h"

namespace bench {

// Watches widgets for their first paint event. Create it before the window is shown, so that a
// paint delivered during show() is not missed. The widgets may be deleted before the watch.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(std::initializer_list<QWidget*> widgets);
  ~FirstPaintWatch() override;
  // Processes events until every watched widget has painted. A paint event is handled before the
  // event loop returns, so on true the widgets' paintEvent has run. False after `timeout`.
  bool Wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::set<QObject*> unpainted_;
  std::vector<QPointer<QWidget>> widgets_;  // a widget may go before the watch
};

// The bare peer: a plain window that reads the poster with QImageReader and draws it at (0, 0),
// at its own size (as the launcher draws the demo disc's poster; the self-check says so). With a
// caption it also draws one line of text below the poster, which makes Qt load its font database
// as any window with text must.
class BareWindow : public QWidget {
 public:
  explicit BareWindow(const std::string& posterPath, const QString& caption = {});
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QString caption_;
};

// The recording services the launcher runs with in the benchmarks: the launcher's directory is the
// disc itself and the machine counts as online, so every start-up step runs.
void PrepareServices(testsupport::FakeServices& services, const std::string& discDirectory);

}  // namespace bench
