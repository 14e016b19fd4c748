#!/usr/bin/env bash
# The launcher started the ways that hide its directory from a plain look at /proc/self/exe: through
# the dynamic loader (as from a noexec mount), whose own directory that link then names, and from a
# directory deeper than the kernel gives a path for. Each time it must write the players' INI files
# beside it and change nothing else on the disc.
#   launcher_directory_test.sh BUILD_DIR   (uses Autorun and autorun-demodisc)
# Exit status: 0 passed, 1 failed, 77 skipped (no dynamic loader at the usual place).
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd -- "$1" && pwd)
for program in Autorun autorun-demodisc; do
  [ -x "$build/$program" ] || fail "$build/$program is not built"
done
loader=$(ldd "$build/Autorun" | awk '/ld-linux/ && !found { print $1; found = 1 }')
[ -x "$loader" ] || { echo "SKIPPED: no dynamic loader found for Autorun"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/autorun-launcher-dir.XXXXXX")
launcher_pid=""
cleanup() {
  [ -n "$launcher_pid" ] && kill -9 "$launcher_pid" 2>/dev/null
  rm -rf -- "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen

old_vplayer=$'[Autorun]\r\nFileNameMovie=Old.avi\r\n'
old_bplay=$'[Movie]\r\nFName=Old.avi\r\n'
# The disc: the demo disc, the launcher and both players' INI files.
disc=$work/disc
"$build/autorun-demodisc" "$disc" >"$work/demodisc.log" 2>&1 || fail "autorun-demodisc: $(cat "$work/demodisc.log")"
cp -- "$build/Autorun" "$disc/Autorun"
printf '%s' "$old_vplayer" >"$work/vplayer.ini.old"
printf '%s' "$old_bplay" >"$work/bplay.ini.old"
cp -- "$work/vplayer.ini.old" "$disc/vplayer.ini"
cp -- "$work/bplay.ini.old" "$disc/bplay.ini"
listing() { find . -printf '%p %y %s\n' | LC_ALL=C sort; }

# Starts the launcher in the current directory with "$@" before ./Autorun, waits until both INI
# files have changed (at most 60 looks, half a second apart), then stops it.
run_until_written() {
  "$@" ./Autorun >>"$work/launcher.log" 2>&1 &
  launcher_pid=$!
  for _ in $(seq 1 60); do
    if ! cmp -s vplayer.ini "$work/vplayer.ini.old" && ! cmp -s bplay.ini "$work/bplay.ini.old"; then break; fi
    kill -0 "$launcher_pid" 2>/dev/null || break
    sleep 0.5
  done
  kill "$launcher_pid" 2>/dev/null || true
  wait "$launcher_pid" 2>/dev/null || true
  launcher_pid=""
}

# The disc's INI files name its movie now, and no other entry changed.
check_written() {
  local what=$1 before=$2 movie
  movie=$(LC_ALL=C sed -n 's/^FileNameMovie=\(.*\)\r$/\1/p' vplayer.ini)
  [ -n "$movie" ] && [ "$movie" != Old.avi ] && [ -f "$movie" ] ||
    fail "$what: vplayer.ini was not written: $(cat -A vplayer.ini); $(tail -5 "$work/launcher.log")"
  LC_ALL=C grep -q "^FName=$movie"$'\r$' bplay.ini || fail "$what: bplay.ini was not written: $(cat -A bplay.ini)"
  local changed
  changed=$(diff <(echo "$before") <(listing) | grep '^[<>]' | grep -v -e ' ./vplayer.ini ' -e ' ./bplay.ini ' || true)
  [ -z "$changed" ] || fail "$what: other entries changed: $changed"
  echo "PASS: $what"
}

# --- 1. through the dynamic loader ---------------------------------------------------------------
cp -a -- "$disc" "$work/first"
cd "$work/first"
before=$(listing)
run_until_written "$loader"
check_written "started as $loader ./Autorun" "$before"

# --- 2. from a directory deeper than PATH_MAX ------------------------------------------------------
cd "$work"
step=$(printf 'd%.0s' $(seq 1 200))
for _ in $(seq 1 22); do
  mkdir "$step"
  cd "$step"
done
depth=$(( $(pwd | wc -c) + 5 ))
[ "$depth" -gt 4096 ] || fail "the deep directory is only $depth bytes long"
mv -- "$disc" disc  # a short name from here, which the kernel takes
cd disc
before=$(listing)
run_until_written
check_written "started from a directory path of $depth bytes" "$before"
