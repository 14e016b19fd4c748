#!/usr/bin/env bash
# Starts the Windows launcher on a Windows demo disc under Wine:  run-demo.sh DISC_DIR [--enter]
# With a display it simply runs there. Without one it runs on a 1024x768 Xvfb screen, measures the
# time until the window is on the screen, saves a screenshot beside the disc, and with --enter
# presses Enter (the focused VPlayer button) and shows what the stand-in player received.
set -euo pipefail
here=$(cd "$(dirname -- "$0")" && pwd)
disc=$(cd -- "$1" && pwd)
cd "$disc"
if [ -n "${DISPLAY:-}" ] && [ "${2:-}" != "--enter" ]; then
  exec "$here/wine-run.sh" Autorun.exe
fi
shot="$disc/../demo-screenshot-windows.png"
rm -f player-calls.log
# The prefix and its wineserver are made before the clock starts: a first Wine start takes longer.
"$here/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
"$here/headless.sh" bash -c '
  set -u
  here=$1 shot=$2 enter=$3
  start=$(date +%s%N)
  "$here/wine-run.sh" Autorun.exe & pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "Autorun - Zorvalin" | head -n 1)
  [ -n "$window" ] || { echo "run-demo: no launcher window within 60 s" >&2; kill $pid; exit 1; }
  shown=$(date +%s%N)
  echo "start-up under Wine: $(( (shown - start) / 1000000 )) ms until the window is on the screen"
  sleep 2
  import -window root "$shot"
  echo "screenshot: $(realpath "$shot")"
  if [ "$enter" = "--enter" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key Return
    for _ in $(seq 100); do
      kill -0 $pid 2>/dev/null || break
      sleep 0.2
    done
    if kill -0 $pid 2>/dev/null; then
      echo "run-demo: the launcher is still open after Enter" >&2
      kill $pid
      exit 1
    fi
    for _ in $(seq 50); do [ -s player-calls.log ] && break; sleep 0.2; done
    echo "the launcher closed; the stand-in player received:"
    cat player-calls.log 2>/dev/null || { echo "run-demo: no player was started" >&2; exit 1; }
  else
    kill $pid 2>/dev/null || true
  fi
  wait $pid 2>/dev/null || true
' _ "$here" "$shot" "${2:-}"
