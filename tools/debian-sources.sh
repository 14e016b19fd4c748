# Sourced by the scripts that build from Debian's packages.
# debian_mirror prints the Debian mirror that this machine's apt sources name, for debootstrap.
# fetch PACKAGE unpacks Debian's source package of PACKAGE (the version of this machine's release)
# under $cache/src once, and prints its folder. apt-get source needs a deb-src entry; one is
# derived from the machine's own apt sources. cmake_stage STAMP BUILD SOURCE CMAKE_ARGS... builds a
# source folder once: configured the first time (an interrupted build resumes), built with $jobs
# jobs, installed (to $DESTDIR when set) and stamped. static_release TOOLCHAIN_FILE CMAKE_ARGS... sets
# the array toolchain to what every stage passes CMake: that toolchain, a Release build into
# $prefix, and every function and datum in a section of its own, so that linking with
# --gc-sections keeps only the parts of the static libraries that the programs reach. Compiler flags
# that one system's stages add go in static_flags.
debian_mirror() {
  local mirror
  mirror=$(sed -n 's/^URIs: //p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list)
  echo "$mirror"
}

ensure_source_entries() {
  apt-get source --print-uris qt6-base >/dev/null 2>&1 && return
  local sudo="" f
  [ "$(id -u)" = 0 ] || sudo=sudo
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q '^Types: deb$' "$f" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" | $sudo tee "/etc/apt/sources.list.d/autorun-src-$(basename "$f")" >/dev/null
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee /etc/apt/sources.list.d/autorun-src.list >/dev/null
  fi
  $sudo apt-get update -qq
}

fetch() {  # fetch PACKAGE
  local dir
  dir="$(find "$cache/src" -maxdepth 1 -type d -name "$1-*" | head -n1)"
  if [ -z "$dir" ]; then
    ensure_source_entries
    (cd "$cache/src" && apt-get source -qq "$1" >&2)
    dir="$(find "$cache/src" -maxdepth 1 -type d -name "$1-*" | head -n1)"
  fi
  echo "$dir"
}

cmake_stage() {  # cmake_stage STAMP BUILD SOURCE CMAKE_ARGS...
  local stamp=$1 build=$2 source=$3
  shift 3
  [ -f "$build/build.ninja" ] || cmake -S "$source" -B "$build" -G Ninja "$@"
  cmake --build "$build" -j"$jobs"
  cmake --install "$build" >/dev/null
  touch "$stamp"
}

static_release() {  # static_release TOOLCHAIN_FILE CMAKE_ARGS...
  local sections="-ffunction-sections -fdata-sections${static_flags:+ $static_flags}"
  toolchain=(-DCMAKE_TOOLCHAIN_FILE="$1" "${@:2}" -DCMAKE_INSTALL_PREFIX="$prefix"
             -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$sections" -DCMAKE_CXX_FLAGS="$sections")
}
