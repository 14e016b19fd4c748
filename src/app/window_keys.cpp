// The window's keyboard: dialog navigation first, then the key preview that stops the auto-start.
#include <QKeyEvent>
#include <QKeySequence>
#include <algorithm>

#include "app/keyboard.h"
#include "app/main_window.h"
#include "app/assets.h"

namespace app {

std::vector<QWidget*> TMainWin::TabStops() const { return {dxStart, dxBPlayer, dxSelect, dxClose}; }

std::vector<QWidget*> TMainWin::TabOrder() const {
  std::vector<QWidget*> order = {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo};
  if (memoNFO) order.push_back(memoNFO);
  return order;
}

void TMainWin::MoveFocus(const std::vector<QWidget*>& order, bool forward) {
  const auto count = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < count; ++i)
    if (order[i] == focusWidget()) at = i;
  const int start = at >= 0 ? at : (forward ? count - 1 : 0);
  for (int step = 1; step <= count; ++step) {
    const int next = (start + (forward ? step : -step) + count) % count;
    if (Shown(order[next])) {
      order[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

QWidget* TMainWin::AcceleratorButton(int key) const {
  for (PictureButton* button : {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo}) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
    if (Shown(button) && !mnemonic.isEmpty() && (mnemonic[0].key() == key)) return button;
  }
  return nullptr;
}

bool TMainWin::HandleKey(QKeyEvent* event) {
  QWidget* focus = focusWidget();
  const std::vector<QWidget*> buttons = {dxStart, dxBPlayer, dxSelect, dxClose, dxInfo};
  const FocusKind kind = std::find(buttons.begin(), buttons.end(), focus) != buttons.end()
                             ? FocusKind::Button
                             : focus && focus == memoNFO ? FocusKind::TextPanel : FocusKind::Other;
  const KeyRole role = ClassifyKey(event->key(), event->modifiers(), kind);
  if (ReachesKeyPreview(role)) Timer1->stop();
  switch (role) {
    case KeyRole::NextButton: MoveFocus(TabStops(), true); return true;
    case KeyRole::PreviousButton: MoveFocus(TabStops(), false); return true;
    case KeyRole::NextControl: MoveFocus(TabOrder(), true); return true;
    case KeyRole::PreviousControl: MoveFocus(TabOrder(), false); return true;
    case KeyRole::ActivateFocused: static_cast<QPushButton*>(focus)->click(); return true;
    case KeyRole::ActivateDefault: dxClose->click(); return true;
    case KeyRole::Accelerator:
      if (QWidget* button = AcceleratorButton(event->key())) {
        static_cast<QPushButton*>(button)->click();
        return true;
      }
      return false;
    case KeyRole::Modifier:
    case KeyRole::Preview: return false;
  }
  return false;
}

bool TMainWin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Accelerators are ours to handle, so that the key preview sees them first.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::AltModifier) event->accept();
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace app

