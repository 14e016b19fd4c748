#!/usr/bin/env bash
# Builds, once per machine, a root file system that the portable check starts the disc in: Debian
# minbase of release SUITE (bullseye, bookworm) with only what every X11 desktop brings (the C
# library, the X11 client libraries, libxcb and its extension libraries, fontconfig, freetype) and
# the fonts the launcher is drawn with. No Qt, no ICU, no libjpeg, no libxkbcommon, no xcb-util,
# no D-Bus library, no Wine.   make-root.sh SUITE ROOT
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 SUITE ROOT" >&2
  exit 2
fi
suite=$1
root=$2
[ -f "$root/.complete" ] && exit 0
# shellcheck source=tools/debian-sources.sh
. "$(dirname -- "$0")/../debian-sources.sh"
packages=(libx11-6 libx11-xcb1 libxcb1 libxcb-randr0 libxcb-shm0 libxcb-sync1 libxcb-xfixes0
          libxcb-render0 libxcb-shape0 libxcb-xkb1 libxcb-xinput0 libxext6 libxrender1 libsm6 libice6
          libfontconfig1 libfreetype6 fonts-liberation fonts-dejavu-core fonts-wine)
rm -rf -- "$root"
debootstrap --variant=minbase --include="$(IFS=,; echo "${packages[*]}")" "$suite" "$root" "$(debian_mirror)"
touch "$root/.complete"
