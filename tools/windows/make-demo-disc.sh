#!/usr/bin/env bash
# Makes the Windows demo disc:  make-demo-disc.sh LINUX_BUILD WINDOWS_BUILD DISC_DIR
# The demo disc of tools/make-demo-disc.sh (the movie and its companions, written by the Linux
# build's autorun-demodisc) with the Windows launcher and inspector, and with stand-in players
# that are Windows programs logging the command line they receive to player-calls.log.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 LINUX_BUILD WINDOWS_BUILD DISC_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")" && pwd)
win=$(cd -- "$2" && pwd)
disc=$3
for file in Autorun.exe autorun-inspect.exe stand-in-player.exe; do
  [ -f "$win/$file" ] || { echo "$0: $win/$file is not built (make windows)" >&2; exit 1; }
done
AUTORUN_EXE="$win/Autorun.exe" "$here/../make-demo-disc.sh" "$1" "$disc" >/dev/null
cp -- "$win/autorun-inspect.exe" "$disc/"
for player in vplayer.exe bplay.exe; do
  cp -- "$win/stand-in-player.exe" "$disc/$player"
done
echo "Windows demo disc ready: $(cd "$disc" && pwd)"
