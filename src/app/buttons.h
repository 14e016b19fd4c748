#pragma once
// The push buttons: which has the focus, where the column closes up over hidden player buttons,
// and which player the auto-start timer starts; plain functions of which players are present.
#include <string>

namespace app {

// Tops of the button column; the design values are the defaults.
struct ButtonColumn {
  int startTop = 39;
  int bplayerTop = 95;
  int selectTop = 151;
  int closeTop = 215;
};

// Moves the buttons up into the places of the hidden player buttons. Each assignment reads the tops
// as the previous ones left them, which is why the order below matters.
ButtonColumn CloseUpColumn(bool startVisible, bool bplayerVisible, ButtonColumn column = {});

enum class Button { Start, BPlayer, Select, Close, Info };

// The button that has the focus when the window first shows, for the movie branch.
Button InitialFocus(bool startVisible, bool bplayerVisible);

enum class TimerAction { Stop, StartVPlayer, StartBPlayer };
TimerAction TimerChoice(bool startVisible, bool bplayerVisible);

}  // namespace app
