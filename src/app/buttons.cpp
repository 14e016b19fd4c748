#include "app/buttons.h"

namespace app {

ButtonColumn CloseUpColumn(bool startVisible, bool bplayerVisible, ButtonColumn c) {
  if (startVisible && bplayerVisible) return c;
  if (startVisible || bplayerVisible) {
    c.closeTop = c.selectTop;
    c.selectTop = c.bplayerTop;
    if (!startVisible) c.bplayerTop = c.startTop;
    return c;
  }
  c.closeTop = c.bplayerTop;
  c.selectTop = c.startTop;
  return c;
}

std::string_view ButtonName(Button button) { return design::Row(button).name; }

Button InitialFocus(bool startVisible, bool bplayerVisible) {
  if (!startVisible && bplayerVisible) return Button::BPlayer;
  if (!startVisible && !bplayerVisible) return Button::Select;
  return Button::Start;
}

TimerAction TimerChoice(bool startVisible, bool bplayerVisible) {
  if (startVisible) return TimerAction::StartVPlayer;
  if (bplayerVisible) return TimerAction::StartBPlayer;
  return TimerAction::Stop;
}

}  // namespace app
