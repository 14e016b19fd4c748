#!/usr/bin/env bash
# Measures how much of a disc's own files a cold start reads from the medium, as a drive would
# serve it:  cold-start.sh DISC_DIR [COMMAND...]
# The disc's files are laid into a file system image (ext4: the kernels this runs on may have no
# ISO 9660 driver, and what a start reads is decided by the page cache and the device's
# read-ahead, not by the disc's format), attached to a loop device with an optical drive's
# read-ahead (128 KB; $READ_AHEAD sets it in 512-byte sectors) and mounted read-only; the page
# cache is dropped, COMMAND (default: the disc's ./autorun) starts in the disc's directory on the X
# display $DISPLAY, and once a window shows, fincore tells which pages of each file of the disc
# are in memory: those are what the start read. Needs root.
# Prints one line per file that was read and the total in KiB; with PAGES_OF=NAME, the file offsets of
# the pages of the disc's file NAME that were read instead, one a line.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 DISC_DIR [COMMAND...]" >&2
  exit 2
fi
disc=$1
shift
[ $# -gt 0 ] || set -- ./autorun
: "${DISPLAY:?the launcher needs an X display}"

mountpoint=$(mktemp -d)
image=$(mktemp --suffix=.img)
size_kib=$(( $(du -sk -- "$disc" | cut -f1) * 5 / 4 + 8192 ))
mke2fs -q -t ext4 -d "$disc" -F "$image" "${size_kib}k"
device=$(losetup --find --show --read-only -- "$image")
pid=""
cleanup() {
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then wait "$pid" 2>/dev/null || true; fi
  # A program's helpers (Wine's server) may hold the disc a moment longer.
  for _ in $(seq 40); do umount "$mountpoint" 2>/dev/null && break; sleep 0.25; done
  # Else it goes, and the loop device with it, when the last of them has let go.
  mountpoint -q "$mountpoint" && umount -l "$mountpoint"
  losetup -d "$device" 2>/dev/null || true
  rmdir "$mountpoint" 2>/dev/null || true
  rm -f -- "$image"
}
trap cleanup EXIT
blockdev --setra "${READ_AHEAD:-256}" "$device"
mount -o ro "$device" "$mountpoint"

sync
echo 3 >/proc/sys/vm/drop_caches
(cd "$mountpoint" && exec "$@") >/dev/null 2>&1 &
pid=$!
for _ in $(seq 300); do
  xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && break
  # The start script execs the launcher, or starts it through the loader under the same pid.
  xdotool search --onlyvisible --name . >/dev/null 2>&1 && break
  sleep 0.05
done
sleep 0.5  # the first paint

if [ -n "${PAGES_OF:-}" ]; then
  python3 "$(dirname -- "$0")/resident-pages.py" "$mountpoint/$PAGES_OF"
  exit 0
fi
find "$mountpoint" -type f -print0 | xargs -0 fincore --bytes --noheadings --output RES,FILE |
  awk -v root="$mountpoint/" '$1 > 0 { name = substr($0, index($0, root) + length(root)); printf "%8d KiB  %s\n", $1 / 1024, name; total += $1 }
       END { printf "%8d KiB  total\n", total / 1024 }'
