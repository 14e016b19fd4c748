#!/usr/bin/env bash
# Checks that Linux programs for a disc run on every X11 desktop with GNU libc 2.31 or later:
#   check-static.sh PROGRAM...
# Each may load only the C library, the X11 client libraries, libxcb and its extension libraries
# (the libxcb source package), fontconfig, freetype and zlib (which freetype brings), and no symbol
# it takes from them may ask for a newer GLIBC_ version than 2.31. Prints what each one needs.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM..." >&2
  exit 2
fi
oldest=2.31
# The extension libraries that the libxcb source package builds; the xcb-util ones are not among them.
xcb_extensions="composite damage dpms dri2 dri3 glx present randr record render res screensaver
                shape shm sync xf86dri xfixes xinerama xinput xkb xtest xv xvmc"
allowed() {  # SONAME
  case "$1" in
    libc.so.6 | libm.so.6 | libpthread.so.0 | libdl.so.2 | librt.so.1 | ld-linux-x86-64.so.2) return 0 ;;
    libX11.so.6 | libX11-xcb.so.1 | libXext.so.6 | libXrender.so.1 | libSM.so.6 | libICE.so.6) return 0 ;;
    libXau.so.6 | libXdmcp.so.6 | libxcb.so.1 | libfontconfig.so.1 | libfreetype.so.6 | libz.so.1) return 0 ;;
    libxcb-*.so.*)
      local extension=${1#libxcb-}
      [[ " $(echo $xcb_extensions) " == *" ${extension%%.so.*} "* ]] ;;
    *) return 1 ;;
  esac
}

failed=0
for program in "$@"; do
  [ -f "$program" ] || { echo "$0: $program does not exist" >&2; exit 1; }
  needed=$(objdump -p -- "$program" | awk '$1 == "NEEDED" { print $2 }')
  newest=$(objdump -T -- "$program" | grep -o 'GLIBC_[0-9][0-9.]*' | sort -u -V | tail -n 1)
  echo "$program: newest symbol version ${newest:-none}; loads" $needed
  for library in $needed; do
    allowed "$library" || { echo "$0: $program loads $library, which a desktop may not have" >&2; failed=1; }
  done
  if [ -n "$newest" ] && [ "$(printf '%s\n' "${newest#GLIBC_}" "$oldest" | sort -V | tail -n 1)" != "$oldest" ]; then
    echo "$0: $program asks for $newest; GNU libc $oldest does not have it" >&2
    objdump -T -- "$program" | grep -F "($newest)" | head -n 5 >&2
    failed=1
  fi
  if objdump -T -- "$program" | grep -qE 'GLIBCXX_|CXXABI_|GCC_[0-9]'; then
    echo "$0: $program takes the C++ runtime or libgcc from the system" >&2
    failed=1
  fi
done
exit $failed
