#!/usr/bin/env bash
# The real tree passes the seam check, and each kind of breach in a copy of it is caught.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../../src
check=$here/check_layers.sh
"$check" "$src" || { echo "FAIL: the source tree breaks a seam"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
breach() {  # breach NAME FILE LINE: the check must reject the tree with LINE added to FILE
  rm -rf "$scratch/src" && cp -r "$src" "$scratch/src"
  printf '%s\n' "$3" >> "$scratch/src/$2"
  if "$check" "$scratch/src" >/dev/null; then echo "FAIL: not caught: $1"; failures=$((failures + 1)); fi
}
breach "media including app" media/avi.cpp '#include "app/launcher_state.h"'
breach "platform including movie" platform/files.cpp '#include "movie/players.h"'
breach "title including media" title/film_title.cpp '#include "media/avi.h"'
breach "POSIX header in portable code" platform/files.cpp '#include <unistd.h>'
breach "sys header in a layer" movie/discovery.cpp '#include <sys/stat.h>'
breach "Windows header in portable code" media/notes.cpp '#include <windows.h>'
breach "Q_OS_ outside platform" app/startup.cpp '#ifdef Q_OS_WIN'
breach "_WIN32 outside platform" movie/launch.cpp '#if defined(_WIN32)'
[ "$failures" -eq 0 ] && echo "seams hold; 8 breaches caught"
exit $((failures > 0))
