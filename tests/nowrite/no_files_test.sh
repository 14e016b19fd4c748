#!/usr/bin/env bash
# The launcher writes no file but the players' INI files and leaves no process behind: no toolkit
# settings, no cache, no runtime directory, no session bus launched for it. It runs on the demo disc
# under Xvfb with HOME, the XDG directories and TMPDIR pointing at empty directories and no session
# bus; Select Player is opened and cancelled, Show Info and the popup menu are opened, and the
# launcher is closed. Afterwards those directories must still be empty, the disc must differ only in
# its INI files, and no process that inherited the launcher's environment may be left. Once with
# XDG_RUNTIME_DIR set, once without it, and twice as careless starters leave things, standard error
# closed: with a relative XDG_RUNTIME_DIR, and without one but with TMPDIR naming a missing folder.
#   no_files_test.sh BUILD_DIR   (uses Autorun and autorun-demodisc)
# Exit status: 0 passed, 1 failed, 77 skipped without Xvfb or xdotool.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd -- "$1" && pwd)
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "SKIPPED: needs xvfb-run and xdotool"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/autorun-nofiles.XXXXXX")
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf -- "$work"' EXIT
disc=$work/disc
"$build/autorun-demodisc" "$disc" >"$work/demodisc.log" 2>&1 || fail "autorun-demodisc: $(cat "$work/demodisc.log")"
cp -- "$build/Autorun" "$disc/Autorun"  # the INI files lie beside the launcher, as on a disc
printf '[Autorun]\r\nFileNameMovie=\r\n' >"$disc/vplayer.ini"

# Every entry with its kind, size and checksum; the INI files may change, but only by name.
listing() {
  (cd -- "$1" && find . \( -iname '*.ini' -printf '%p\n' \) -o -printf '%p %y %s\n' | LC_ALL=C sort &&
    find . -type f ! -iname '*.ini' -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)
}

# Runs inside Xvfb: starts the launcher, drives it, closes it; prints what it saw.
# shellcheck disable=SC2016  # expanded by the inner shell
driver='
  set -u
  log=$1 closed=$2 token=$3; shift 3
  if [ "$closed" = yes ]; then
    # As some starters leave it: the display connection must not become "standard error".
    env -u XDG_RUNTIME_DIR "$@" AUTORUN_NOFILES_RUN="$token" ./Autorun >>"$log" 2>&- & pid=$!
  else
    env -u XDG_RUNTIME_DIR "$@" AUTORUN_NOFILES_RUN="$token" ./Autorun >>"$log" 2>&1 & pid=$!
  fi
  main=$(timeout 60 xdotool search --sync --onlyvisible --name "^Autorun - Zorvalin$" | head -n1)
  [ -n "$main" ] || { echo "no window"; kill $pid; wait $pid; exit 0; }
  windows() { xdotool search --onlyvisible --class . 2>/dev/null | sort; }
  # Waits (bounded, generously: a sanitizer build on a busy machine is slow) until the visible
  # windows differ from $1, and says whether they did.
  changed() { for _ in $(seq 1 200); do [ "$(windows)" != "$1" ] && return 0; sleep 0.1; done; return 1; }
  press() { xdotool windowfocus --sync "$main" 2>/dev/null; xdotool key "$@"; }
  # opens WHAT OTHERWISE COMMAND...: runs the command; where a window opens, says "WHAT: opened" and
  # presses Escape until it is gone (on a busy machine an Escape can come before the window takes
  # the keyboard), otherwise says "WHAT: OTHERWISE".
  opens() {
    local what=$1 otherwise=$2 before; shift 2
    before=$(windows); "$@"
    if changed "$before"; then
      echo "$what: opened"
      for _ in $(seq 1 40); do [ "$(windows)" = "$before" ] && break; xdotool key Escape; sleep 0.5; done
    else
      echo "$what: $otherwise"
    fi
  }
  opens dialog "not seen" press alt+p
  press alt+s; sleep 0.5; echo "info: pressed"
  opens menu "not offered (offline)" xdotool mousemove --window "$main" 30 60 click 3
  press alt+c
  for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "still running"; kill $pid; fi
  wait $pid; echo "exit $?"
  # Whatever the launcher started inherited its environment; none of it may still run (a bus
  # launched for it lives as long as the display).
  for environ in /proc/[0-9]*/environ; do
    if tr "\0" "\n" 2>/dev/null <"$environ" | grep -qx "AUTORUN_NOFILES_RUN=$token"; then
      process=${environ%/environ}
      echo "left running: $(tr "\0" " " 2>/dev/null <"$process/cmdline")"
      kill "${process#/proc/}" 2>/dev/null
    fi
  done'

# The popup menu is there only online. Where a network namespace of the test's own can be made,
# the launcher runs in it with a pair of virtual interfaces, one with a routable address, so it
# counts as online without reaching any network; elsewhere it runs offline without the menu.
# shellcheck disable=SC2016  # expanded by the inner shell
online='ip link set lo up && ip link add probe0 type veth peer name probe1 &&
  ip link set probe1 up && ip link set probe0 up && ip addr add 192.0.2.10/24 dev probe0 &&
  ip route add default dev probe0 && exec "$@"'
network=()
if command -v unshare >/dev/null && command -v ip >/dev/null; then
  for candidate in "unshare --net" "unshare --map-root-user --net"; do
    # shellcheck disable=SC2086  # the candidate is a command with its options
    if $candidate bash -c "$online" _ true 2>/dev/null; then
      read -r -a network <<<"$candidate"
      network+=(bash -c "$online" _)
      break
    fi
  done
fi

# Made at the root when the toolkit's temporary folder is missing.
rootRuntime=/runtime-$(id -un)
[ -e "$rootRuntime" ] && echo "note: $rootRuntime exists already; a new one there would not be seen"
for runtime in set unset careless no-temp; do
  root=$work/user-$runtime
  mkdir -p "$root"/{home,config,cache,data,state,tmp}
  mkdir -m 700 "$root/runtime"
  before=$(listing "$disc")
  environment=(HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_CACHE_HOME="$root/cache"
    XDG_DATA_HOME="$root/data" XDG_STATE_HOME="$root/state" TMPDIR="$root/tmp")
  [ $runtime = set ] && environment+=(XDG_RUNTIME_DIR="$root/runtime")
  [ $runtime = careless ] && environment+=(XDG_RUNTIME_DIR=runtime)
  [ $runtime = no-temp ] && environment+=(TMPDIR="$root/tmp/missing")
  closed=no
  case $runtime in careless | no-temp) closed=yes ;; esac
  existed=no
  [ -e "$rootRuntime" ] && existed=yes
  result=$(cd "$disc" && env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS "${network[@]}" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$driver" _ "$work/launcher.log" $closed "$$-$runtime" \
    "${environment[@]}")
  echo "XDG_RUNTIME_DIR $runtime: $(tr '\n' ';' <<<"$result")"
  if [ $existed = no ] && [ -e "$rootRuntime" ]; then
    rmdir -- "$rootRuntime" 2>/dev/null
    fail "$rootRuntime made with XDG_RUNTIME_DIR $runtime"
  fi
  grep -q "^left running" <<<"$result" && fail "processes outlived the launcher: $result"
  grep -qx "no window" <<<"$result" && fail "no window appeared with XDG_RUNTIME_DIR $runtime"
  grep -qx "dialog: opened" <<<"$result" || fail "Select Player showed no dialog: $result"
  if [ ${#network[@]} -gt 0 ]; then
    grep -qx "menu: opened" <<<"$result" || fail "online, the popup menu did not open: $result"
  fi
  grep -qx "exit 0" <<<"$result" || fail "the launcher did not close cleanly: $result; $(cat "$work/launcher.log")"
  # Without XDG_RUNTIME_DIR (a relative one counts as none), Qt makes an empty runtime directory in
  # TMPDIR while the application object is built; that one is Qt's and is left alone.
  [ $runtime = unset ] || [ $runtime = careless ] && find "$root/tmp" -mindepth 1 -maxdepth 1 -name 'runtime-*' -type d -empty -delete
  written=$(cd "$root" && find . -mindepth 2 | LC_ALL=C sort)
  [ -z "$written" ] || fail "files written with XDG_RUNTIME_DIR $runtime: $written"
  after=$(listing "$disc")
  [ "$before" = "$after" ] || fail "the disc changed beyond its INI files: $(diff <(echo "$before") <(echo "$after"))"
done
echo "PASS: nothing written but the INI files"
