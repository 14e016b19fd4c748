#!/usr/bin/env bash
# Starts a disc image's Linux launcher on desktops without Qt and compares its window and INI files
# with those of the normal build, and starts the image's Windows launcher under Wine with nothing
# but the disc's files:  check.sh IMAGE.iso NORMAL_BUILD WORK_DIR ROOT...
# Each ROOT is a root file system with only what every X11 desktop has (make-root.sh). The image's
# Linux programs must be the self-contained ones (tools/linux/check-static.sh). The image is
# extracted into ROOT/disc, the inspector runs there and the disc's own autorun script starts there
# in a chroot with a private /proc and the host's X server socket; once its window shows, the
# screen is saved. The same disc with NORMAL_BUILD's launcher, which runs with this system's Qt,
# gives the reference screen, INI files and inspector report. Then a cold start of the image's
# launcher reads the disc from a loop device (cold-start.sh), with and without read-ahead.
# Autorun.exe, when the image has one, starts in a new Wine prefix from a copy of the disc. Needs root.
set -euo pipefail
if [ $# -lt 4 ]; then
  echo "usage: $0 IMAGE.iso NORMAL_BUILD WORK_DIR ROOT..." >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")/.." && pwd)
image=$(realpath -- "$1")
normal=$(realpath -- "$2")
work=$(mkdir -p -- "$3" && realpath -- "$3")
shift 3
roots=()
for root in "$@"; do roots+=("$(realpath -- "$root")"); done
for program in Autorun autorun-inspect; do
  [ -x "$normal/$program" ] || { echo "$0: $normal/$program is not built" >&2; exit 1; }
done
for root in "${roots[@]}"; do
  if compgen -G "$root/usr/lib/x86_64-linux-gnu/libQt6*" >/dev/null ||
     compgen -G "$root/usr/lib/x86_64-linux-gnu/libicu*" >/dev/null ||
     compgen -G "$root/usr/lib/x86_64-linux-gnu/libxkbcommon*" >/dev/null; then
    echo "$0: $root has Qt, ICU or libxkbcommon; the check needs a root without them" >&2
    exit 1
  fi
done

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

in_root() {  # ROOT COMMAND: runs in the root's disc directory, with nothing of this system
  unshare --mount --fork --kill-child sh -c '
    mount -t proc proc "$1/proc" && mount --bind /tmp/.X11-unix "$1/tmp/.X11-unix" &&
    exec chroot "$1" /usr/bin/env -i DISPLAY="$2" HOME=/root PATH=/usr/bin:/bin sh -c "cd /disc && $3"' \
    sh "$1" "$display" "$2"
}

failed=0
fail() { echo "$0: $*" >&2; failed=1; }

# The reference: the same disc with the normal build, which runs with this system's Qt.
extract "$work/disc"
"$here/linux/check-static.sh" "$work/disc/Autorun" "$work/disc/autorun-inspect" || failed=1
linux_part=$(du -cb "$work/disc/Autorun" "$work/disc/autorun-inspect" "$work/disc/autorun" \
  "$work/disc/.autorun" | tail -n 1 | cut -f1)
echo "the disc's Linux part: $linux_part bytes"
[ "$linux_part" -le 15000000 ] || fail "the disc's Linux part is larger than 15 MB"
cp -- "$normal/Autorun" "$normal/autorun-inspect" "$work/disc/"
# Its report names the disc's directory, which in the roots is /disc.
(cd "$work/disc" && QT_QPA_PLATFORM=offscreen ./autorun-inspect .) 2>&1 |
  sed "s|$work/disc|/disc|g" >"$work/system-qt.inspect" || true
(cd "$work/disc" && exec ./Autorun) >/dev/null 2>&1 &
launcher=$!
screen_of "$work/system-qt.png"

for root in "${roots[@]}"; do
  name=$(basename -- "$root")
  echo "== $name"
  extract "$root/disc"
  mkdir -p -- "$root/tmp/.X11-unix" "$root/proc"
  in_root "$root" "exec ./autorun-inspect ." >"$work/$name.inspect" 2>&1 || true
  cmp -s "$work/system-qt.inspect" "$work/$name.inspect" ||
    fail "the inspector's report in $name differs from the normal build's: diff $work/system-qt.inspect $work/$name.inspect"
  in_root "$root" "exec ./autorun" >"$work/$name.log" 2>&1 &
  launcher=$!
  if ! screen_of "$work/$name.png"; then
    cat -- "$work/$name.log" >&2
    fail "the launcher showed no window in $name"
    continue
  fi
  for ini in "$work"/disc/*.ini; do
    cmp -s -- "$ini" "$root/disc/${ini##*/}" || fail "${ini##*/} was written differently in $name"
  done
  differing=$(compare -metric AE "$work/system-qt.png" "$work/$name.png" "$work/$name-difference.png" 2>&1 >/dev/null || true)
  echo "screens: $work/system-qt.png and $work/$name.png; pixels that differ: $differing"
  [ "$differing" = 0 ] || { fail "the launcher in $name looks different"; cat -- "$work/$name.log" >&2; }
done

# What a cold start reads of the disc, as a drive serves it, and the pages it touches.
extract "$work/cold-disc"
for read_ahead in 256 0; do
  echo "== a cold start from the disc, read-ahead $((read_ahead / 2)) KB"
  READ_AHEAD=$read_ahead "$here/portable/cold-start.sh" "$work/cold-disc"
done

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
exit $failed
