#!/usr/bin/env bash
# The title strip under real window managers (openbox, and xfwm4 where installed), each started by
# this test on an X server of its own: a slow drag moves the window with the point pressed under
# the pointer; a quick click (press, a few pixels, release in one burst), a flick and a click while
# the launcher is busy never leave the window following a pointer with no button held.
#   drag_test.sh BUILD_DIR   (uses Autorun and autorun-demodisc; leaves BUILD_DIR/wm-<name>.png)
# Exit status: 0 passed, 1 failed, 77 skipped without Xvfb, xdotool or any of the window managers.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd -- "$1" && pwd)
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "SKIPPED: needs xvfb-run and xdotool"; exit 77; }
managers=()
for manager in openbox xfwm4; do
  if command -v "$manager" >/dev/null; then managers+=("$manager"); else echo "note: $manager is not installed"; fi
done
[ ${#managers[@]} -gt 0 ] || { echo "SKIPPED: no window manager to try"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/autorun-wm.XXXXXX")
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf -- "$work"' EXIT
disc=$work/disc
"$build/autorun-demodisc" "$disc" >"$work/demodisc.log" 2>&1 || fail "autorun-demodisc: $(cat "$work/demodisc.log")"
cp -- "$build/Autorun" "$disc/Autorun"

# Runs inside the X server: starts the window manager and the launcher, drags, clicks and
# flicks the title strip, and prints one line per check, marked "= " (the session's services may
# print too).
# shellcheck disable=SC2016  # expanded by the inner shell
driver='
  set -u
  manager=$1 shot=$2 log=$3
  case $manager in
    openbox) openbox --sm-disable >>"$log" 2>&1 & ;;
    xfwm4) xfwm4 --compositor=off --sm-client-disable >>"$log" 2>&1 & ;;
  esac
  managerPid=$!
  # A window manager of this kind says so on the root window once it runs.
  for _ in $(seq 1 100); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
  ./Autorun >>"$log" 2>&1 & pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Autorun - Zorvalin$" | head -n1)
  [ -n "$window" ] || { echo "= no window"; kill $pid $managerPid; exit 0; }
  xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape  # no auto-start meanwhile
  sleep 0.5
  where() { xdotool getwindowgeometry --shell "$window" | grep -E "^(X|Y)=" | tr "\n" " "; }
  settle() { sleep 0.6; }
  # Moves the pointer away with no button held: the window must stay where it is.
  stays() {
    local before after
    before=$(where)
    xdotool mousemove_relative -- 90 70; settle
    xdotool mousemove_relative -- -40 50; settle
    after=$(where)
    [ "$before" = "$after" ] && echo "= $1: stays" || echo "= $1: follows the pointer ($before -> $after)"
  }
  strip() { eval "$(where)"; xdotool mousemove $((X + 40)) $((Y + 10)); settle; }

  strip; eval "$(where)"; x0=$X y0=$Y
  xdotool mousedown 1
  for _ in $(seq 1 60); do xdotool mousemove_relative -- 1 0; sleep 0.01; done
  for _ in $(seq 1 30); do xdotool mousemove_relative -- 0 1; sleep 0.01; done
  settle; xdotool mouseup 1; settle
  eval "$(where)"; echo "= slow drag: moved $((X - x0)) $((Y - y0))"
  stays "after the drag"

  strip; xdotool mousedown 1 mousemove_relative -- 8 0 mouseup 1; settle; stays "quick click"
  strip; xdotool mousedown 1 mousemove_relative -- 30 0 mouseup 1; settle; stays "flick"
  strip; kill -STOP $pid
  xdotool mousedown 1; xdotool mousemove_relative -- 20 0; sleep 0.4; xdotool mouseup 1
  kill -CONT $pid; settle; settle; stays "drag while busy"
  strip; kill -STOP $pid; xdotool click 1; sleep 0.4; kill -CONT $pid; settle; stays "click while busy"

  import -window root "$shot" 2>/dev/null
  xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key alt+c
  for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $pid 2>/dev/null && { echo "= still running"; kill $pid; }
  kill $managerPid 2>/dev/null; wait $managerPid 2>/dev/null
  echo "= done"'

session=()
# xfwm4 keeps its settings behind a session bus; one of the test's own ends with it.
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
status=0
for manager in "${managers[@]}"; do
  home=$work/home-$manager
  mkdir -p "$home"
  shot=$build/wm-$manager.png
  result=$(cd "$disc" && env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" "${session[@]}" \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$driver" _ "$manager" "$shot" "$work/$manager.log" \
    2>>"$work/$manager.log" | sed -n "s/^= //p")
  echo "$manager: $(tr '\n' ';' <<<"$result")"
  expected=$'slow drag: moved 60 30\nafter the drag: stays\nquick click: stays\nflick: stays\ndrag while busy: stays\nclick while busy: stays\ndone'
  if [ "$result" != "$expected" ]; then
    echo "FAIL under $manager: $(diff <(echo "$expected") <(echo "$result") | grep '^>' || true)" >&2
    tail -n 20 "$work/$manager.log" >&2
    status=1
  fi
done
[ $status -eq 0 ] && echo "PASS: the title strip drags under ${managers[*]}"
exit $status
