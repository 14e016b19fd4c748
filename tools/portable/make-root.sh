#!/usr/bin/env bash
# Builds, once per machine, the root file system that the portable check starts the disc in:
# Debian 12 minbase with only what every X11 desktop brings (the C library, X11 and xcb client
# libraries, fontconfig, freetype) and the fonts the launcher is drawn with. No Qt, no ICU, no
# libjpeg, no Wine.   make-root.sh ROOT
set -euo pipefail
root=$1
[ -f "$root/.complete" ] && exit 0
# shellcheck source=tools/debian-sources.sh
. "$(dirname -- "$0")/../debian-sources.sh"
packages=(libx11-6 libx11-xcb1 libxcb1 libxcb-randr0 libxcb-shm0 libxcb-sync1 libxcb-xfixes0
          libxcb-render0 libxcb-shape0 libxcb-xkb1 libxext6 libxrender1 libsm6 libice6
          libfontconfig1 libfreetype6 fonts-liberation fonts-dejavu-core fonts-wine)
rm -rf -- "$root"
debootstrap --variant=minbase --include="$(IFS=,; echo "${packages[*]}")" bookworm "$root" "$(debian_mirror)"
touch "$root/.complete"
