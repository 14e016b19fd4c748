#!/usr/bin/env bash
# The launcher started from a read-only disc: nothing on the disc may change and nothing may be
# reported.   readonly_test.sh BUILD_DIR   (uses Autorun, autorun-inspect, autorun-demodisc)
# Exit status: 0 passed, 1 failed, 77 skipped because this machine allows no read-only mount.
#
# The disc is the demo disc laid out by make-disc.sh, plus a vplayer.ini, so that both players'
# INI files lie on it. A writable copy with a damaged poster first shows that every check can
# fail: there the launcher writes both INI files and raises an error box. The read-only medium is
# the first of these that the machine allows: the ISO image from make-iso.sh loop-mounted; the
# image's contents bind-mounted read-only; the disc bind-mounted read-only; a tmpfs filled and
# remounted read-only. With Xvfb and xdotool the launcher's windows are looked at; without them
# the launcher runs on the offscreen platform and an error box cannot be seen.
set -euo pipefail

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd -- "$1" && pwd)
tools=$(cd "$(dirname -- "$0")/../../tools" && pwd)
for program in Autorun autorun-inspect autorun-demodisc; do
  [ -x "$build/$program" ] || fail "$build/$program is not built"
done

# Mounts are made in a mount namespace of this test's own, so no other process ever sees one and
# none outlives the test; without root a user namespace may still allow it.
if [ -z "${AUTORUN_READONLY_NAMESPACE:-}" ] && command -v unshare >/dev/null; then
  if [ "$(id -u)" = 0 ]; then
    namespace=(unshare --mount --propagation private)
  else
    namespace=(unshare --map-root-user --mount --propagation private)
  fi
  if "${namespace[@]}" true 2>/dev/null; then
    AUTORUN_READONLY_NAMESPACE=1 exec "${namespace[@]}" "$BASH" "$0" "$@"
  fi
fi
[ "$(id -u)" = 0 ] || skip "mounting needs root or a user namespace, and neither is available"

work=$(mktemp -d "${TMPDIR:-/tmp}/autorun-readonly.XXXXXX")
medium=$work/medium
mkdir "$medium"
cleanup() {
  local status=$?
  if mountpoint -q "$medium"; then
    umount "$medium" 2>/dev/null || umount -l "$medium" 2>/dev/null || true
  fi
  if mountpoint -q "$medium"; then
    echo "warning: $medium is still mounted; $work is left in place" >&2
  else
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf -- "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

# --- the disc and its writable control copy ----------------------------------------------------
disc=$work/disc
"$build/autorun-demodisc" "$disc" >"$work/demodisc.log" 2>&1 ||
  fail "autorun-demodisc: $(cat "$work/demodisc.log")"
printf '[Autorun]\r\nFileNameMovie=Old.Disc.Movie.avi\r\nFileNameSubtitles=\r\n' >"$disc/vplayer.ini"
# The libraries for systems without Qt are checked by make test-portable; this system has Qt.
LINUX_LIBS=no "$tools/make-disc.sh" "$build" "$disc" >/dev/null
for file in .autorun autorun autorun.inf Autorun autorun-inspect; do
  [ -e "$disc/$file" ] || fail "make-disc.sh left out $file"
done
control=$work/control
cp -a -- "$disc" "$control"
for poster in "$control"/*.jpg; do printf 'not a JPEG\n' >"$poster"; done

# Every entry with its kind, size, mode and times, and every file's checksum.
listing() {
  (cd -- "$1" && find . -printf '%p %y %s %m %T@ %C@\n' | LC_ALL=C sort &&
    find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
}

# The inspector's JSON without blanks and line breaks, which is enough to look for fields in.
inspect() {
  local json
  json=$(cd / && "$1/autorun-inspect" --json "$1" 2>>"$work/inspect.log") ||
    fail "autorun-inspect --json $1 exited with status $?"
  printf '%s' "$json" | tr -d ' \n\r'
}
field_object() { grep -o "\"$2\":{[^}]*}" <<<"$1" || true; }
ini_writes() { grep -o '"ini_writes":\[[^]]*\]' <<<"$1" || true; }

windows=""
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then windows=x11; fi
# Starts the disc's .autorun from another directory, as a desktop does after mounting; waits
# until the launcher shows a window (or 2 s without a display); says whether it is still running
# and names the windows it shows.
# shellcheck disable=SC2016  # the arguments are the inner shell's
probe='
  cd / && "$1" >>"$3" 2>&1 & pid=$!
  if [ "$2" = x11 ]; then
    for _ in $(seq 1 60); do
      sleep 0.25
      xdotool search --onlyvisible --name Zorvalin >/dev/null 2>&1 && break
    done
    sleep 0.5
  else
    sleep 2
  fi
  if kill -0 $pid 2>/dev/null; then echo running; else wait $pid; echo "exited $?"; fi
  if [ "$2" = x11 ]; then
    xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed "s/^/window: /"
  fi
  kill $pid 2>/dev/null; sleep 0.2; kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null; true'
run_launcher() {
  if [ -n "$windows" ]; then
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY xvfb-run -a -s "-screen 0 1024x768x24" \
      bash -c "$probe" _ "$1/.autorun" x11 "$work/launcher.log"
  else
    QT_QPA_PLATFORM=offscreen bash -c "$probe" _ "$1/.autorun" offscreen "$work/launcher.log"
  fi
}
has_line() { grep -qxF -- "$2" <<<"$1"; }

# --- 1. on the writable control every check has something to catch -----------------------------
before=$(listing "$control")
json=$(inspect "$control")
[[ $json == *'"file":"vplayer.ini"'* && $json == *'"file":"bplay.ini"'* ]] ||
  fail "control: the inspector plans no writes into both INI files: $(ini_writes "$json")"
[[ $(field_object "$json" poster) == *'"error":""'* ]] && fail "control: a damaged poster reports no error"
result=$(run_launcher "$control")
has_line "$result" running || fail "control: the launcher did not keep running: $result"
changed=$(diff <(echo "$before") <(listing "$control") || true)
for ini in vplayer.ini bplay.ini; do
  grep -q "^> \./$ini " <<<"$changed" ||
    fail "control: the launcher started by .autorun left $ini unchanged"
done
if [ -n "$windows" ]; then
  has_line "$result" "window: Zorvalin" || fail "control: no error box for the damaged poster: $result"
fi

# --- 2. the read-only medium ---------------------------------------------------------------------
iso=""
if command -v xorriso >/dev/null && "$tools/make-iso.sh" "$disc" "$work/disc.iso" >"$work/iso.log" 2>&1; then
  iso=$work/disc.iso
fi
bind_read_only() {
  mount --bind "$1" "$medium" 2>/dev/null || return 1
  mount -o remount,bind,ro "$medium" 2>/dev/null || { umount "$medium"; return 1; }
}
how=""
if [ -n "$iso" ] && mount -t iso9660 -o loop,ro "$iso" "$medium" 2>/dev/null; then
  how="the ISO image, loop-mounted"
elif [ -n "$iso" ] && xorriso -osirrox on -indev "$iso" -extract / "$work/unpacked" >/dev/null 2>&1 &&
  bind_read_only "$work/unpacked"; then
  how="the ISO image's contents, bind-mounted read-only"
elif bind_read_only "$disc"; then
  how="the disc directory, bind-mounted read-only"
elif mount -t tmpfs -o mode=755 tmpfs "$medium" 2>/dev/null; then
  if cp -a -- "$disc/." "$medium/" && mount -o remount,ro "$medium" 2>/dev/null; then
    how="a tmpfs, remounted read-only"
  else
    umount "$medium"
  fi
fi
[ -n "$how" ] || skip "this machine allows no read-only mount (loop, bind or tmpfs)"
echo "read-only medium: $how${windows:+; windows seen through Xvfb}"
if touch "$medium/.write-probe" 2>/dev/null; then fail "the medium at $medium takes writes"; fi
for file in .autorun autorun Autorun autorun-inspect; do
  [ -x "$medium/$file" ] || fail "$file on the medium cannot be run"
done

before=$(listing "$medium")
json=$(inspect "$medium")
[[ $json == *'"movie_accepted":true'* ]] ||
  fail "the movie on the medium is not accepted: $(grep -o '"not_avi_message":"[^"]*"' <<<"$json")"
# As root the inspector copies every INI file it could write; none means the medium was not ready.
[[ $json == *'"ini_writes":[]'* ]] ||
  fail "INI writes planned on a read-only medium: $(ini_writes "$json")"
[[ $json == *'"ini_error":""'* ]] ||
  fail "an INI error reported on a read-only medium: $(grep -o '"ini_error":"[^"]*"' <<<"$json")"
poster=$(field_object "$json" poster)
[[ $poster == *'"error":""'* && $poster == *'"loaded":true'* ]] || fail "poster not shown cleanly: $poster"
result=$(run_launcher "$medium")
has_line "$result" running ||
  fail "the launcher did not keep running: $result; $(cat "$work/launcher.log")"
if [ -n "$windows" ]; then
  has_line "$result" "window: Autorun - Zorvalin" || fail "the launcher showed no window: $result"
  has_line "$result" "window: Zorvalin" && fail "the launcher raised an error box: $result"
fi
after=$(listing "$medium")
[ "$before" = "$after" ] || fail "the medium changed: $(diff <(echo "$before") <(echo "$after"))"
echo "PASS: nothing written, nothing reported"
