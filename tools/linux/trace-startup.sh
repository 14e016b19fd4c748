#!/usr/bin/env bash
# Finds what the self-contained Linux Autorun uses from its start until its window shows, and writes
# the linker script that lays it out in one run of pages:  trace-startup.sh LINUX_BUILD DISC_DIR ORDER_FILE
# (as root: the start reads from a loop device). The launcher of LINUX_BUILD (make linux, built with
# Ninja) is linked once more with each function and table on a page of its own and started cold
# from a copy of the disc DISC_DIR with no read-ahead (tools/portable/cold-start.sh), on a screen
# of its own: each page that was read names the one function or table it starts.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 LINUX_BUILD DISC_DIR ORDER_FILE" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")" && pwd)
build=$(cd -- "$1" && pwd)
disc=$(cd -- "$2" && pwd)
order=$3
[ -f "$build/build.ninja" ] || { echo "$0: $build is not a Ninja build (make linux)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

cp -a -- "$disc" "$work/disc"
"$here/../aligned-link.sh" "$build" Autorun "$work/disc/Autorun" "$work/aligned.map" objcopy '.rodata*'

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf -- "$work"' EXIT
for _ in $(seq 100); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display PAGES_OF=Autorun READ_AHEAD=0 "$here/../portable/cold-start.sh" "$work/disc" ./Autorun \
  >"$work/pages"

python3 "$here/startup-order.py" "$work/aligned.map" "$work/disc/Autorun" "$work/pages" >"$order"
echo "trace-startup: $(grep -c '^    \*' "$order") sections in $order" >&2
