#!/usr/bin/env bash
# Checks the source tree's seams:  check_layers.sh SRC_DIR [QTWIDGETS_INCLUDE_DIR]
# - a folder includes only its own headers and those of the folders below it
#   (app -> movie -> media, title -> platform);
# - app's core (the autorun_core library of app/CMakeLists.txt) includes no Qt Widgets header (a
#   header of QTWIDGETS_INCLUDE_DIR or of QtWidgets/) and no app/ header outside the core, and does
#   not link Qt Widgets;
# - operating-system headers only in backend files (*_posix, *_linux, *_win);
# - no platform conditionals outside platform/.
# Prints every offending line and exits 1 when there is one.
set -uo pipefail
src=${1:?usage: check_layers.sh SRC_DIR [QTWIDGETS_INCLUDE_DIR]}
widgets=${2:-}
declare -A allowed=(
  [platform]="platform"
  [title]="title platform"
  [media]="media platform"
  [movie]="movie media title platform"
  [app]="app movie media title platform"
)
status=0
fail() { echo "$1"; status=1; }

for layer in "${!allowed[@]}"; do
  [ -d "$src/$layer" ] || continue
  while IFS= read -r hit; do
    [[ $hit =~ :#include\ \"([a-z_]+)/ ]] && used=${BASH_REMATCH[1]}  # no process per line: it runs often
    [[ " ${allowed[$layer]} " == *" $used "* ]] || fail "upward include: $hit"
  done < <(grep -rnE '^#include "[a-z_]+/' "$src/$layer")
done

os_headers='^#include <(unistd|fcntl|dirent|windows|winbase|wininet|shellapi|io|direct)\.h>|^#include <sys/'
while IFS= read -r hit; do
  file=${hit%%:*}
  [[ $(basename "$file") =~ _(posix|linux|win)\.(cpp|h)$ ]] || fail "system header outside a backend: $hit"
done < <(grep -rnE "$os_headers" "$src")

while IFS= read -r hit; do
  [[ $hit == "$src/platform/"* ]] || fail "platform conditional outside platform/: $hit"
done < <(grep -rnE '^#\s*(if|ifdef|ifndef|elif).*(_WIN32|__linux__|__unix__|__APPLE__|Q_OS_)' "$src")

app_cmake=$src/app/CMakeLists.txt
if [ -f "$app_cmake" ]; then
  core=" $(awk '/^add_library\(autorun_core /{on=1; next} on{done=/\)/; sub(/\).*/, ""); print; if (done) on=0}' \
             "$app_cmake" | tr -s ' \t\n' ' ') "
  for file in $core; do
    [ -f "$src/app/$file" ] || continue
    while IFS= read -r line; do
      hit="$src/app/$file:$line"
      [[ $line =~ ^[0-9]+:#include\ [\<\"]([^\>\"]+) ]] && included=${BASH_REMATCH[1]}
      case $included in
        QtWidgets*) fail "Qt Widgets in the core: $hit" ;;
        app/*) [[ $core == *" ${included#app/} "* ]] || fail "window header in the core: $hit" ;;
        Q*) [ -n "$widgets" ] && [ -e "$widgets/$included" ] && fail "Qt Widgets in the core: $hit" ;;
      esac
    done < <(grep -nE '^#include' "$src/app/$file")
  done
  if grep -E '^target_link_libraries\(autorun_core\b' "$app_cmake" | grep -q Widgets; then
    fail "Qt Widgets linked into the core: $app_cmake"
  fi
fi

exit $status
