#include "app/buttons.h"

#include <gtest/gtest.h>

#include "app/keyboard.h"

namespace app {
namespace {

TEST(ButtonColumn, ClosesUpForEveryPlayerCombination) {
  struct Row {
    bool start, bplayer;
    ButtonColumn column;  // tops of the buttons that stay visible matter; hidden ones may hold anything
    Button focus;
    TimerAction timer;
  } rows[] = {
      {true, true, {39, 95, 151, 215}, Button::Start, TimerAction::StartVPlayer},
      {true, false, {39, 95, 95, 151}, Button::Start, TimerAction::StartVPlayer},
      {false, true, {39, 39, 95, 151}, Button::BPlayer, TimerAction::StartBPlayer},
      {false, false, {39, 95, 39, 95}, Button::Select, TimerAction::Stop},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "start=" << row.start << " bplayer=" << row.bplayer);
    const ButtonColumn c = CloseUpColumn(row.start, row.bplayer);
    if (row.start) {
      EXPECT_EQ(c.startTop, row.column.startTop);
    }
    if (row.bplayer) {
      EXPECT_EQ(c.bplayerTop, row.column.bplayerTop);
    }
    EXPECT_EQ(c.selectTop, row.column.selectTop);
    EXPECT_EQ(c.closeTop, row.column.closeTop);
    EXPECT_EQ(InitialFocus(row.start, row.bplayer), row.focus);
    EXPECT_EQ(TimerChoice(row.start, row.bplayer), row.timer);
  }
}

TEST(Keyboard, FocusMovesAndEnterOnAButtonLeaveTheTimerAlone) {
  struct Row {
    int key;
    Qt::KeyboardModifiers modifiers;
    FocusKind focus;
    KeyRole role;
    bool stopsTimer;
  } rows[] = {
      {Qt::Key_Tab, Qt::NoModifier, FocusKind::Button, KeyRole::NextButton, false},
      {Qt::Key_Backtab, Qt::ShiftModifier, FocusKind::Button, KeyRole::PreviousButton, false},
      {Qt::Key_Tab, Qt::ShiftModifier, FocusKind::Button, KeyRole::PreviousButton, false},
      {Qt::Key_Right, Qt::NoModifier, FocusKind::Button, KeyRole::NextControl, false},
      {Qt::Key_Down, Qt::NoModifier, FocusKind::Button, KeyRole::NextControl, false},
      {Qt::Key_Left, Qt::NoModifier, FocusKind::Button, KeyRole::PreviousControl, false},
      {Qt::Key_Up, Qt::NoModifier, FocusKind::Button, KeyRole::PreviousControl, false},
      {Qt::Key_Return, Qt::NoModifier, FocusKind::Button, KeyRole::ActivateFocused, false},
      {Qt::Key_Enter, Qt::KeypadModifier, FocusKind::Button, KeyRole::ActivateFocused, false},
      {Qt::Key_Return, Qt::NoModifier, FocusKind::Other, KeyRole::ActivateDefault, false},
      // The text panel keeps arrows and Enter for itself, so they reach the preview.
      {Qt::Key_Down, Qt::NoModifier, FocusKind::TextPanel, KeyRole::Preview, true},
      {Qt::Key_Return, Qt::NoModifier, FocusKind::TextPanel, KeyRole::Preview, true},
      {Qt::Key_Escape, Qt::NoModifier, FocusKind::Button, KeyRole::Preview, true},
      {Qt::Key_Space, Qt::NoModifier, FocusKind::Button, KeyRole::Preview, true},
      {Qt::Key_X, Qt::NoModifier, FocusKind::Button, KeyRole::Preview, true},
      {Qt::Key_V, Qt::AltModifier, FocusKind::Button, KeyRole::Accelerator, true},
      {Qt::Key_Shift, Qt::ShiftModifier, FocusKind::Button, KeyRole::Modifier, false},
      {Qt::Key_Alt, Qt::AltModifier, FocusKind::Button, KeyRole::Modifier, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "key=" << row.key);
    const KeyRole role = ClassifyKey(row.key, row.modifiers, row.focus);
    EXPECT_EQ(role, row.role);
    EXPECT_EQ(ReachesKeyPreview(role), row.stopsTimer);
  }
}

}  // namespace
}  // namespace app
