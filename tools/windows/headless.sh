#!/usr/bin/env bash
# Runs a command with a display: the current one, or else a private Xvfb screen of 1024x768
# (Wine's programs need an X server even when Qt draws offscreen).
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
