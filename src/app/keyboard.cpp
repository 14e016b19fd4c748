#include "app/keyboard.h"

namespace app {

KeyRole ClassifyKey(int key, Qt::KeyboardModifiers modifiers, FocusKind focus) {
  switch (key) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_AltGr: case Qt::Key_Meta:
      return KeyRole::Modifier;
  }
  const bool onButton = focus == FocusKind::Button;
  const bool alt = modifiers & Qt::AltModifier;
  if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)))
    return KeyRole::PreviousButton;
  if (key == Qt::Key_Tab) return KeyRole::NextButton;
  // The text panel keeps the arrows and Enter for itself; they then reach the preview.
  if (onButton && !alt) {
    if (key == Qt::Key_Right || key == Qt::Key_Down) return KeyRole::NextControl;
    if (key == Qt::Key_Left || key == Qt::Key_Up) return KeyRole::PreviousControl;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (onButton) return KeyRole::ActivateFocused;
    if (focus == FocusKind::Other) return KeyRole::ActivateDefault;
  }
  if (alt && key >= Qt::Key_A && key <= Qt::Key_Z) return KeyRole::Accelerator;
  return KeyRole::Preview;
}

bool ReachesKeyPreview(KeyRole role) {
  return role == KeyRole::Accelerator || role == KeyRole::Preview;
}

}  // namespace app
