#!/usr/bin/env bash
# The real tree passes the seam check, and each kind of breach in a copy of it is caught:
#   layers_test.sh [QTWIDGETS_INCLUDE_DIR]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../../src
widgets=${1:-}
check() { "$here/check_layers.sh" "$1" "$widgets"; }
check "$src" || { echo "FAIL: the source tree breaks a seam"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
breach() {  # breach NAME FILE LINE: the check must reject the tree with LINE added to FILE
  rm -rf "$scratch/src" && cp -r "$src" "$scratch/src"
  printf '%s\n' "$3" >> "$scratch/src/$2"
  if check "$scratch/src" >/dev/null; then echo "FAIL: not caught: $1"; failures=$((failures + 1)); fi
}
breach "media including app" media/avi.cpp '#include "app/launcher_state.h"'
breach "platform including movie" platform/files.cpp '#include "movie/players.h"'
breach "title including media" title/film_title.cpp '#include "media/avi.h"'
breach "POSIX header in portable code" platform/files.cpp '#include <unistd.h>'
breach "sys header in a layer" movie/discovery.cpp '#include <sys/stat.h>'
breach "Windows header in portable code" media/notes.cpp '#include <windows.h>'
breach "Q_OS_ outside platform" app/startup.cpp '#ifdef Q_OS_WIN'
breach "_WIN32 outside platform" movie/launch.cpp '#if defined(_WIN32)'
breach "a window header in the core" app/buttons.cpp '#include "app/picture_box.h"'
breach "Qt Widgets in the core" app/startup_plan.cpp '#include <QtWidgets/QWidget>'
breach "Qt Widgets linked into the core" app/CMakeLists.txt 'target_link_libraries(autorun_core PRIVATE Qt6::Widgets)'
breaches=11
if [ -d "$widgets" ]; then
  breach "a Qt Widgets class in the core" app/startup_files.cpp '#include <QLabel>'
  breaches=12
fi
[ "$failures" -eq 0 ] && echo "seams hold; $breaches breaches caught"
exit $((failures > 0))
