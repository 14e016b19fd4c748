#pragma once
// What a key press means to the launcher window. Focus moves and Enter on a button are dialog
// navigation and are handled before the key preview, so they leave the auto-start timer alone;
// every other key reaches the preview and stops it.
#include <Qt>

namespace app {

enum class KeyRole {
  NextButton,       // Tab: next tab stop among the visible buttons
  PreviousButton,   // Shift+Tab
  NextControl,      // Right, Down: next control in tab order, tab stops or not
  PreviousControl,  // Left, Up
  ActivateFocused,  // Enter on a push button
  ActivateDefault,  // Enter elsewhere, on a control that does not take Enter itself
  Accelerator,      // Alt + letter: reaches the preview, then clicks the button marked with it
  Modifier,         // Shift, Ctrl, Alt alone: the key they combine with decides
  Preview,          // anything else: reaches the preview only, then the focused control
};

enum class FocusKind { Button, TextPanel, Other };

KeyRole ClassifyKey(int key, Qt::KeyboardModifiers modifiers, FocusKind focus);

// Whether the role stops the auto-start timer by reaching the window's key preview.
bool ReachesKeyPreview(KeyRole role);

}  // namespace app
