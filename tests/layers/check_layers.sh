#!/usr/bin/env bash
# Checks the source tree's seams:  check_layers.sh SRC_DIR
# - a folder includes only its own headers and those of the folders below it
#   (app -> movie -> media, title -> platform);
# - operating-system headers only in backend files (*_posix, *_linux, *_win);
# - no platform conditionals outside platform/.
# Prints every offending line and exits 1 when there is one.
set -uo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}
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
    used=$(sed -E 's/^[^:]*:[0-9]+:#include "([a-z_]+)\/.*/\1/' <<<"$hit")
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

exit $status
