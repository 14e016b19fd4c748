#pragma once
// Select Player's file dialog, in each system's own form (program_dialog_posix.cpp,
// program_dialog_win.cpp), with the texts they share.
#include <string>
#include <string_view>

class QWidget;

namespace app {

// A kind of file the dialog offers: its name and its pattern.
struct FileKind {
  std::string_view name;
  std::string_view pattern;
};
// Offered first, and selected when the dialog opens.
inline constexpr FileKind kPlayerFiles{"Player (executable) files", "*.exe"};
// Offered after it where players need not end in .exe.
inline constexpr FileKind kEveryFile{"All files", "*"};

// Asks for a player program in a modal dialog owned by `owner`'s window (none for nullptr),
// starting in `initialDirectory`; the chosen file's full path in the system's own bytes, "" when
// cancelled.
std::string ChooseProgramFile(QWidget* owner, const std::string& initialDirectory);

}  // namespace app
