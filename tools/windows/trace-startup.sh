#!/usr/bin/env bash
# Finds what Autorun.exe uses from its start until its window shows, and writes the linker script
# that lays it out in one run of pages:  trace-startup.sh WINDOWS_BUILD DISC_DIR ORDER_FILE
# (as root: the data step reads from a loop device).
# The code: the launcher of WINDOWS_BUILD (built with Ninja, linked with its map Autorun.map) starts
# on the Windows demo disc DISC_DIR under Wine, itself run in QEMU's user-mode emulator, which logs
# the address of each block of code the first time it runs it (-d exec); nothing in the program is
# changed to be traced, and Wine's server runs natively. The start is traced once with the emulated
# processor's vector extensions and once without, so that the code Qt picks for either kind of
# processor is in the order.
# The data, and the code that only this machine runs: QEMU does not log what is read, so the
# launcher is linked once more with each function and table on a page of its own and started
# natively, cold from a copy of the disc with no read-ahead (tools/portable/cold-start.sh): each
# page that was read names the one function or table it starts.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 WINDOWS_BUILD DISC_DIR ORDER_FILE" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")" && pwd)
win=$(cd -- "$1" && pwd)
disc=$(cd -- "$2" && pwd)
order=$3
[ -f "$win/Autorun.map" ] || { echo "$0: $win/Autorun.map is missing (make windows)" >&2; exit 1; }
cmp -s "$win/Autorun.exe" "$disc/Autorun.exe" ||
  { echo "$0: $disc/Autorun.exe is not the build's" >&2; exit 1; }
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || { echo "$0: Wine's loader $loader is missing" >&2; exit 1; }
command -v qemu-x86_64 >/dev/null || { echo "$0: qemu-x86_64 is missing (qemu-user)" >&2; exit 1; }

export WINEPREFIX="${WINEPREFIX:-${AUTORUN_CACHE:-$HOME/.cache/autorun}/wine}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

# Both starts on one screen, each with Wine's services started there first.
(cd "$disc" && "$here/headless.sh" bash -c '
  set -u
  here=$1 loader=$2 out=$3
  for cpu in max qemu64; do
    echo "trace-startup: the code of a start on a \"$cpu\" processor" >&2
    "$here/wine-run.sh" cmd /c exit >/dev/null 2>&1
    # Only the program'"'"'s own code is logged: logging Wine'"'"'s too would slow the start so much
    # that the 60-second auto-start came before the first paint. Wine would start its loader again
    # natively; it stays inside the emulator instead.
    WINELOADERNOEXEC=1 qemu-x86_64 -cpu "$cpu" -d exec -dfilter 0x140000000+0x10000000 \
      "$loader" Autorun.exe 2> >(grep -aoE "/000000014[0-9a-f]{7}/" >>"$out") &
    pid=$!
    window=$(timeout 600 xdotool search --sync --onlyvisible --name . | head -n 1)
    [ -n "$window" ] || { echo "trace-startup: no window within 10 minutes" >&2; kill $pid; exit 1; }
    sleep 10  # the first paint, slow in the emulator
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    wineserver -k 2>/dev/null
    sleep 1
  done
' _ "$here" "$loader" "$work/code-addresses")

echo "trace-startup: the code and data of a cold start on this machine" >&2
cp -a -- "$disc" "$work/disc"
"$here/../aligned-link.sh" "$win" Autorun.exe "$work/disc/Autorun.exe" "$work/aligned.map" \
  x86_64-w64-mingw32-objcopy '.rdata*'
# Wine's services start first, on the same screen and away from the disc, which they would
# otherwise keep busy.
"$here/headless.sh" bash -c '
  "$1/wine-run.sh" cmd /c exit >/dev/null 2>&1
  PAGES_OF=Autorun.exe READ_AHEAD=0 "$1/../portable/cold-start.sh" "$2" "$1/wine-run.sh" Autorun.exe
' _ "$here" "$work/disc" >"$work/data-pages"
wineserver -k 2>/dev/null || true

python3 "$here/startup-order.py" "$win/Autorun.map" "$work/code-addresses" "$work/aligned.map" \
  "$work/disc/Autorun.exe" "$work/data-pages" >"$order"
echo "trace-startup: $(grep -c '^    \*' "$order") sections in $order" >&2
