#pragma once
// The push buttons: which has the focus, where the column closes up over hidden player buttons,
// and which player the auto-start timer starts; plain functions of which players are present.
#include <string_view>

#include "app/design_layout.h"

namespace app {

// Tops of the button column; the design values are the defaults.
struct ButtonColumn {
  int startTop = design::Row(Button::Start).top;
  int bplayerTop = design::Row(Button::BPlayer).top;
  int selectTop = design::Row(Button::Select).top;
  int closeTop = design::Row(Button::Close).top;
};

// Moves the buttons up into the places of the hidden player buttons. Each assignment reads the tops
// as the previous ones left them, which is why the order below matters.
ButtonColumn CloseUpColumn(bool startVisible, bool bplayerVisible, ButtonColumn column = {});

// The control's name: "dxStart", "dxBPlayer", "dxSelect", "dxClose", "dxInfo".
std::string_view ButtonName(Button button);

// The button that has the focus when the window first shows, for the movie branch.
Button InitialFocus(bool startVisible, bool bplayerVisible);

enum class TimerAction { Stop, StartVPlayer, StartBPlayer };
TimerAction TimerChoice(bool startVisible, bool bplayerVisible);

}  // namespace app
