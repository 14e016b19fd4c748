#include "app/picture_button.h"

#include <QPainter>
#include <algorithm>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace app {

namespace {
constexpr int kPictureSize = 36;
constexpr int kSpacing = 3;
constexpr int kMargin = 3;
}  // namespace

PictureButton::PictureButton(const QString& caption, const QString& picture, QWidget* parent)
    : QPushButton(caption, parent) {
  setIcon(QIcon(picture));
  setIconSize(QSize(kPictureSize, kPictureSize));
  setFocusPolicy(Qt::StrongFocus);
  setAutoDefault(false);
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.state &= ~QStyle::State_HasFocus;
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const QFontMetrics metrics = fontMetrics();
  const QString shown = text();
  const int textWidth = metrics.horizontalAdvance(QString(shown).remove(QLatin1Char('&')));
  const int groupWidth = kPictureSize + kSpacing + textWidth;
  const int shift = isDown() ? 1 : 0;
  // A caption too long for the button starts at the left margin rather than cutting the picture.
  int x = std::max(kMargin, (width() - groupWidth) / 2) + shift;
  const int pictureTop = (height() - kPictureSize) / 2 + shift;
  painter.drawPixmap(x, pictureTop, icon().pixmap(kPictureSize, kPictureSize));
  x += kPictureSize + kSpacing;
  const QRect textRect(x, shift, textWidth + 2, height());
  style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                        palette(), isEnabled(), shown, QPalette::ButtonText);

  if (drawsFocusRect_ && hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(4, 4, -4, -4);
    // Styles draw the rectangle only after keyboard navigation, which never happens when the
    // button is alone on the window; the rectangle is the only sign of where Enter goes.
    focus.state |= QStyle::State_KeyboardFocusChange;
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace app
