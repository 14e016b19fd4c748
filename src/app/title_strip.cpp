#include "app/title_strip.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "platform/display.h"

namespace app {

WindowDragger::WindowDragger(QObject* parent) : QObject(parent) {}

void WindowDragger::addHandle(QWidget* handle) {
  // Moves with no button held are what tell a release that never arrived.
  handle->setMouseTracking(true);
  handle->installEventFilter(this);
}

void WindowDragger::Reset() {
  // However the drag ends, a move handed to the window manager ends with it: one asked for after
  // the button came up would otherwise have the window follow the pointer with no button held.
  if (phase_ == Phase::SystemMoving && !window_.isNull()) platform::CancelSystemMove(window_->winId());
  phase_ = Phase::Idle;
  window_ = nullptr;
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      return OnPress(qobject_cast<QWidget*>(watched), event);
    case QEvent::MouseMove:
      return OnMove(event);
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) OnRelease(event);
      break;
    case QEvent::Leave:
      // While the button is held the pointer may run ahead of the window; only a leave with the
      // button up means the release went elsewhere.
      if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) Reset();
      break;
    case QEvent::Hide:
      Reset();
      break;
    case QEvent::WindowDeactivate:
    case QEvent::FocusOut:
      // The window manager takes the keyboard for its move, which the toolkit reports as the
      // window losing the focus: that ends no move of the window manager's.
      if (phase_ != Phase::SystemMoving) Reset();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool WindowDragger::OnPress(QWidget* handle, QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (handle == nullptr || mouse->button() != Qt::LeftButton) return false;
  phase_ = Phase::Pressed;
  window_ = handle->window();
  pressGlobal_ = mouse->globalPosition().toPoint();
  windowStart_ = window_->pos();
  return true;
}

bool WindowDragger::OnMove(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint pointer = mouse->globalPosition().toPoint();
  if (!(mouse->buttons() & Qt::LeftButton) || window_.isNull()) {
    // The window manager's move ended, or never took the pointer: either way nothing may follow.
    Reset();
    return false;
  }
  switch (phase_) {
    case Phase::Pressed:
      // A click that wobbles is still a click.
      if ((pointer - pressGlobal_).manhattanLength() < QApplication::startDragDistance()) return true;
      if (!StartSystemMove(pointer)) {
        phase_ = Phase::Moving;
        Follow(pointer);
      }
      return true;
    case Phase::Moving:
      Follow(pointer);
      return true;
    case Phase::SystemMoving:
      return true;
    case Phase::Idle:
      break;
  }
  return false;
}

void WindowDragger::OnRelease(QEvent* event) {
  if (phase_ == Phase::Moving) Follow(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
  Reset();
}

namespace {

// Qt keeps each screen's top-left corner in native pixels and scales from there.
QPoint NativePoint(QPoint global, const QWindow& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return global;
  const QPoint origin = screen->geometry().topLeft();
  return origin + ((global - origin) * window.devicePixelRatio());
}

}  // namespace

bool WindowDragger::StartSystemMove(QPoint pointer) {
  QWindow* native = window_->windowHandle();
  if (native == nullptr) return false;
  const QPoint press = NativePoint(pressGlobal_, *native);
  switch (platform::StartSystemMove(native->winId(), {press.x(), press.y()})) {
    case platform::SystemMove::Started:
      phase_ = Phase::SystemMoving;
      return true;
    case platform::SystemMove::ToolkitMove:
      // It moves from where the pointer is now: the window catches up with the pointer first.
      Follow(pointer);
      if (native->startSystemMove()) {
        Reset();
        return true;
      }
      return false;
    case platform::SystemMove::ButtonUp:
    case platform::SystemMove::Unsupported:
      break;
  }
  return false;
}

void WindowDragger::Follow(QPoint pointer) { window_->move(windowStart_ + (pointer - pressGlobal_)); }

StripPicture::StripPicture(QImage picture, QWidget* parent)
    : QWidget(parent), dragger_(new WindowDragger(this)) {
  setPicture(std::move(picture));
  dragger_->addHandle(this);
}

void StripPicture::setPicture(QImage picture) {
  // Palette pictures would be converted on every paint; convert once.
  if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono)
    picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                : QImage::Format_RGB32);
  picture_ = std::move(picture);
  update();
}

void StripPicture::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void StripPicture::mousePressEvent(QMouseEvent* event) {
  // A press on the strip is the strip's, never the window background's.
  event->accept();
}

namespace {

QLabel* MakeLook(const QImage& picture, const char* name, QWidget* parent) {
  auto* look = new QLabel(parent);
  look->setObjectName(QString::fromLatin1(name));
  look->setPixmap(QPixmap::fromImage(picture));
  look->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  look->setAttribute(Qt::WA_TransparentForMouseEvents);
  return look;
}

}  // namespace

CloseButton::CloseButton(const QImage& released, const QImage& pressed, QWidget* parent)
    : QWidget(parent),
      released_(MakeLook(released, "imgButton1", this)),
      pressed_(MakeLook(pressed, "imgButton2", this)) {
  ShowLook(false);
}

bool CloseButton::showsPressedLook() const { return !pressed_->isHidden(); }

void CloseButton::ShowLook(bool pressed) {
  pressed_->setVisible(pressed);
  released_->setVisible(!pressed);
}

void CloseButton::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  click_.Press(*event);
  ShowLook(true);
}

void CloseButton::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const bool inside = rect().contains(event->position().toPoint());
  if (!click_.Release(*event)) return;
  ShowLook(false);
  if (inside) emit clicked();
}

void CloseButton::resizeEvent(QResizeEvent*) {
  released_->setGeometry(rect());
  pressed_->setGeometry(rect());
}

void CloseButton::hideEvent(QHideEvent*) {
  // A release lost while hidden must not leave the pressed look behind.
  click_.Cancel();
  ShowLook(false);
}

void PaintEdgeLine(QPainter& painter, int width, int height) {
  if (width <= 0 || height <= 0) return;
  // Filled rectangles rather than a pen, so the pixels covered do not depend on the pen's cap
  // and end-point rules.
  painter.fillRect(QRect(width - 1, 0, 1, height - 1), kEdgeLineColour);  // right, down
  painter.fillRect(QRect(1, height - 1, width - 1, 1), kEdgeLineColour);  // bottom, leftwards
  painter.fillRect(QRect(0, 1, 1, height - 1), kEdgeLineColour);          // left, up
}

}  // namespace app
