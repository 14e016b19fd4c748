#!/usr/bin/env bash
# Runs a Windows program under Wine:  wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The build's emulator for tests and test discovery, and the demo's way to start the launcher.
# Uses its own Wine prefix ($WINEPREFIX, default ~/.cache/autorun/wine), made on first use without
# the Mono and Gecko installers asking anything. A wineserver that stays up for a minute between
# programs turns Wine's start-up from seconds into a fraction of one.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${AUTORUN_CACHE:-$HOME/.cache/autorun}/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=$(command -v wine64 || command -v wine) || { echo "$0: Wine is not installed" >&2; exit 1; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Two builds making the prefix at once would corrupt it.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-run: making the Wine prefix $WINEPREFIX (once)" >&2
    "$wine" wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  exec 9>&-
fi
# The wineserver's first client starts Wine's own services, which live on and keep that client's
# output open; started here with nothing attached, they cannot hold a caller's pipe (ctest waits
# for the pipe to close).
if wineserver -p 60 >/dev/null 2>&1; then
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
exec "$wine" "$@"
