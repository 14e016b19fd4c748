#!/usr/bin/env bash
# Starts the launcher in the demo disc directory, as a disc's autorun entry would. Without a display
# it runs under Xvfb on a 1024x768 screen, saves a screenshot next to the disc and prints its path.
set -euo pipefail
disc=$(cd "$1" && pwd)
cd "$disc"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./Autorun
fi
shot="$disc/../demo-screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  ./Autorun & pid=$!
  sleep "${DEMO_SECONDS:-4}"
  import -window root "$1"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$shot"
echo "No display: ran the launcher under Xvfb; screenshot saved to $(realpath "$shot")"
