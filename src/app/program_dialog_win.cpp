// The system's own open dialog, called directly: Qt's file dialog keeps its history in the
// registry (HKCU\Software\QtProject) as it closes, and the launcher stores nothing. The path comes
// back in the ANSI code page with the system's separators, as the players expect it in their
// parameter texts; the dialog may change the current directory, as the players' discs were made
// for. A recent-documents entry is not made.
#include <windows.h>
#include <commdlg.h>

#include <QWidget>

#include "app/program_dialog.h"

namespace app {

std::string ChooseProgramFile(QWidget* owner, const std::string& initialDirectory) {
  char path[MAX_PATH] = {};
  // The name and the pattern, each ended by a NUL, and one more NUL after the last pair.
  std::string filter;
  filter.append(kPlayerFiles.name).push_back('\0');
  filter.append(kPlayerFiles.pattern).push_back('\0');
  filter.push_back('\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof(path);
  dialog.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_DONTADDTORECENT;
  return GetOpenFileNameA(&dialog) ? std::string(path) : std::string();
}

}  // namespace app
