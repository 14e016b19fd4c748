// The services with outside effects on Windows: the shell's "open" verb for players and web
// addresses and the system's open dialog; the connection state and Qt's boxes are shared. Text
// crosses into Qt in the system's ANSI code page, the code page of every name the "A" functions
// return.
#include <windows.h>
#include <commdlg.h>

#include <QWidget>

#include "platform/desktop_services.h"
#include "platform/files.h"
#include "platform/program_start_win.h"

namespace platform {

namespace {

class SystemServices : public DesktopServices {
 public:
  // The owner window lets the shell put its own boxes (a program that cannot start) on top of
  // the launcher rather than behind it. Every player runs here, so the movie is not needed.
  void StartProgram(const ProgramStart& start) override {
    void* owner = Owner() ? reinterpret_cast<void*>(Owner()->window()->winId()) : nullptr;
    ShellOpen(owner, start.program, start.parameters, SW_SHOWNORMAL);
  }

  void OpenUrl(const std::string& url) override { ShellOpen(nullptr, url, std::string(), SW_SHOW); }

  // The system's own open dialog, called directly: Qt's file dialog keeps its history in the
  // registry (HKCU\Software\QtProject) as it closes, and the launcher stores nothing. The path
  // comes back in the ANSI code page with the system's separators, as the players expect it in
  // their parameter texts; the dialog may change the current directory, as the players' discs
  // were made for. A recent-documents entry is not made.
  std::string ChooseProgram(const std::string& initialDirectory) override {
    char path[MAX_PATH] = {};
    static const char kFilter[] = "Player (executable) files\0*.exe\0";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Owner() ? reinterpret_cast<HWND>(Owner()->window()->winId()) : nullptr;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    dialog.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_DONTADDTORECENT;
    return GetOpenFileNameA(&dialog) ? std::string(path) : std::string();
  }
};

}  // namespace

std::unique_ptr<Services> MakeSystemServices() { return std::make_unique<SystemServices>(); }

}  // namespace platform
