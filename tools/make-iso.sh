#!/usr/bin/env bash
# Makes an ISO 9660 image of a disc directory:  make-iso.sh DISC_DIR ISO_PATH
# Rock Ridge keeps the names and the executable bits that Linux needs to start the launcher; Joliet
# gives Windows the long names. A disc without its autostart files first gets them from
# make-disc.sh, around the programs it already holds. The volume name is $VOLUME_ID (default
# AUTORUN_DEMO: up to 32 capital letters, digits and underscores).
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 DISC_DIR ISO_PATH" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")" && pwd)
disc=$(cd -- "$1" && pwd)
volume=${VOLUME_ID:-AUTORUN_DEMO}

if ! command -v xorriso >/dev/null; then
  echo "$0: xorriso is not installed (Debian package xorriso)" >&2
  exit 1
fi
if [[ ! $volume =~ ^[A-Z0-9_]{1,32}$ ]]; then
  echo "$0: volume name '$volume' is not 1 to 32 of A-Z, 0-9 and _" >&2
  exit 2
fi
iso_dir=$(cd "$(dirname -- "$2")" && pwd)
iso=$iso_dir/$(basename -- "$2")
case "$iso/" in
  "$disc"/*)
    echo "$0: the image cannot lie inside the disc directory it is made of" >&2
    exit 1
    ;;
esac

if [ ! -e "$disc/.autorun" ] || [ ! -e "$disc/autorun.inf" ]; then
  if [ ! -x "$disc/Autorun" ]; then
    echo "$0: $disc holds no Autorun; lay the disc out with make-disc.sh first" >&2
    exit 1
  fi
  "$here/make-disc.sh" "$disc" "$disc" >/dev/null
fi

# Written beside the target and renamed, so a failed run leaves no image that looks complete.
partial="$iso.$$.part"
trap 'rm -f -- "$partial"' EXIT
# -r: Rock Ridge with every file readable and owned by root, and no write bits, as on a pressed
#     disc; -joliet-long: Windows sees movie names up to 103 characters instead of cutting them at 64;
# -iso-level 3: a movie file may exceed 4 GiB.
xorriso -as mkisofs -quiet -iso-level 3 -r -J -joliet-long -V "$volume" -o "$partial" "$disc"
mv -f -- "$partial" "$iso"
size=$(stat -c %s -- "$iso")
echo "ISO image: $iso ($(numfmt --to=iec-i --suffix=B --format=%.1f "$size"), $size bytes)"
