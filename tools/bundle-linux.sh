#!/usr/bin/env bash
# Gathers what the Linux launcher needs beyond what every X11 desktop has:  bundle-linux.sh PROGRAM DIR
# Copies into DIR the shared libraries that PROGRAM and Qt's X11 platform plugin load, taken from
# this machine's Debian packages, less the system's own: the C library, the X11 and xcb client
# libraries, fontconfig and freetype, and whatever those pull in. The platform plugin goes to
# DIR/qt6/plugins/platforms, where the launcher looks for it beside the Qt it runs with.
# The disc's start script runs the launcher through the system's dynamic loader with
# --library-path DIR when the system has no Qt it can use, so nothing it starts inherits DIR.
# Prints the oldest C library version that everything in DIR and PROGRAM runs with.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 PROGRAM DIR" >&2
  exit 2
fi
program=$1
dir=$2
plugin=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)/platforms/libqxcb.so

# Debian source packages whose libraries a desktop brings: the C library, X.org's client
# libraries, fontconfig and freetype.
system_sources=" glibc libx11 libxcb libxau libxdmcp libxext libxrender libsm libice fontconfig freetype "

resolved() {  # ldd's resolved paths of the libraries FILE needs
  ldd "$1" | awk '$2 == "=>" && $3 ~ /^\// { print $3 }'
}

# Each library with the Debian source package that installed it, asked of dpkg in one go.
mapfile -t libraries < <({ resolved "$program"; resolved "$plugin"; } | sort -u)
declare -A package_of=() source_of=()
while IFS= read -r line; do
  package=${line%%: *}
  for path in ${line#*: }; do package_of[$path]=${package%%:*}; done
done < <(dpkg -S "${libraries[@]}" $(readlink -f "${libraries[@]}") 2>/dev/null)
while read -r package source; do
  source_of[$package]=${source:-$package}
done < <(dpkg-query -W -f='${Package} ${source:Package}\n' $(printf '%s\n' "${package_of[@]}" | sort -u))

# A system library brings its own dependencies along, so they count as the system's too.
declare -A system=() wanted=()
for lib in "${libraries[@]}"; do
  package=${package_of[$lib]:-${package_of[$(readlink -f "$lib")]:-}}
  [ -n "$package" ] || { echo "$0: $lib belongs to no Debian package" >&2; exit 1; }
  if [[ $system_sources == *" ${source_of[$package]} "* ]]; then
    system[$(basename "$lib")]=1
    for dependency in $(resolved "$lib"); do system[$(basename "$dependency")]=1; done
  else
    wanted[$lib]=1
  fi
done

rm -rf -- "$dir"
mkdir -p -- "$dir/qt6/plugins/platforms"
for lib in "${!wanted[@]}"; do
  name=$(basename "$lib")
  [ -n "${system[$name]:-}" ] && continue
  cp -L -- "$lib" "$dir/$name"
done
cp -L -- "$plugin" "$dir/qt6/plugins/platforms/"
strip --strip-unneeded "$dir"/*.so* "$dir"/qt6/plugins/platforms/*.so
chmod 644 "$dir"/*.so* "$dir"/qt6/plugins/platforms/*.so

# The newest GLIBC_x.y symbol version that any of these files asks for.
objdump -T "$program" "$dir"/*.so* "$dir"/qt6/plugins/platforms/*.so 2>/dev/null |
  grep -o 'GLIBC_[0-9][0-9.]*' | sort -u -V | tail -n 1
