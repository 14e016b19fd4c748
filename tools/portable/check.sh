#!/usr/bin/env bash
# Starts a disc image's Linux launcher on a desktop without Qt and compares its window with the one
# the normal build shows, and starts the image's Windows launcher under Wine with nothing but the
# disc's files:  check.sh IMAGE.iso ROOT WORK_DIR
# ROOT is a root file system with only what every X11 desktop has (make-root.sh). The image is
# extracted into ROOT/disc, the disc's own autorun script starts there in a chroot with a private
# /proc and the host's X server socket, and once its window shows the screen is saved. The same
# disc's launcher started with this system's Qt gives the reference screen and INI files. Autorun.exe,
# when the image has one, starts in a new Wine prefix from a copy of the disc. Needs root.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 IMAGE.iso ROOT WORK_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")/.." && pwd)
image=$(realpath -- "$1")
root=$(realpath -- "$2")
work=$(mkdir -p -- "$3" && realpath -- "$3")

if compgen -G "$root/usr/lib/x86_64-linux-gnu/libQt6*" >/dev/null ||
   compgen -G "$root/usr/lib/x86_64-linux-gnu/libicu*" >/dev/null; then
  echo "$0: $root has Qt or ICU; the check needs a root without them" >&2
  exit 1
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
launcher=""
cleanup() {
  [ -n "$launcher" ] && kill -KILL "$launcher" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Saves the screen once a window shows, then ends the launcher started as pid $launcher.
screen_of() {  # PNG
  local window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name . 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "$0: no window showed" >&2; return 1; }
  sleep 1  # the first paint
  import -window root "$1"
  # unshare ignores SIGTERM while it waits; its child dies with it.
  kill -KILL "$launcher" 2>/dev/null
  wait "$launcher" 2>/dev/null || true
  launcher=""
  for _ in $(seq 50); do xdotool search --onlyvisible --name . >/dev/null 2>&1 || break; sleep 0.1; done
}

extract() {  # DIR: the image's files, writable as on a stick, so the start-up writes the INI files
  rm -rf -- "$1"
  xorriso -osirrox on -indev "$image" -extract / "$1" >/dev/null 2>&1
  chmod -R u+w -- "$1"
}

# The reference: the same disc with this system's Qt.
extract "$work/disc"
(cd "$work/disc" && exec ./Autorun) >/dev/null 2>&1 &
launcher=$!
screen_of "$work/system-qt.png"

# The disc in the root without Qt.
extract "$root/disc"
mkdir -p -- "$root/tmp/.X11-unix" "$root/proc"
unshare --mount --fork --kill-child sh -c '
  mount -t proc proc "$1/proc" && mount --bind /tmp/.X11-unix "$1/tmp/.X11-unix" &&
  exec chroot "$1" /usr/bin/env -i DISPLAY="$2" HOME=/root PATH=/usr/bin:/bin sh -c "cd /disc && exec ./autorun"' \
  sh "$root" "$display" >"$work/portable.log" 2>&1 &
launcher=$!
screen_of "$work/portable.png"

# Started through the loader, the launcher must still find its own directory, the disc's.
for ini in "$work"/disc/*.ini; do
  cmp -s -- "$ini" "$root/disc/${ini##*/}" ||
    { echo "$0: ${ini##*/} was written differently without the system's Qt" >&2; exit 1; }
done

differing=$(compare -metric AE "$work/system-qt.png" "$work/portable.png" "$work/difference.png" 2>&1 >/dev/null || true)
echo "screens: $work/system-qt.png and $work/portable.png; pixels that differ: $differing"
[ "$differing" = 0 ] || { echo "$0: the launcher without the system's Qt looks different"; cat "$work/portable.log"; exit 1; }

# The Windows launcher: one file, so a new Wine prefix and the disc's files are all it gets.
has_exe=$(xorriso -indev "$image" -find / -maxdepth 1 -name Autorun.exe 2>/dev/null)
if [ -n "$has_exe" ] && command -v wine >/dev/null; then
  rm -rf -- "$work/wine-prefix"
  extract "$work/windows-disc"
  export WINEPREFIX=$work/wine-prefix
  "$here/windows/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true  # the prefix, made before the start
  (cd "$work/windows-disc" && exec "$here/windows/wine-run.sh" Autorun.exe) >/dev/null 2>&1 &
  launcher=$!
  screen_of "$work/windows.png"
  wineserver -k 2>/dev/null || true
  echo "Autorun.exe under Wine with only the disc's files: $work/windows.png"
else
  echo "note: the image has no Autorun.exe (make windows builds it) or Wine is missing; only Linux was checked"
fi
