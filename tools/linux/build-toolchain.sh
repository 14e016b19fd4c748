#!/usr/bin/env bash
# Builds, once per machine, what the self-contained Linux launcher links against: a Debian 11 root
# (its compiler, C library and X11 libraries: what the launcher runs with is what Debian 11 has,
# GNU libc 2.31) and, into the root's /opt/autorun, Qt 6, libjpeg-turbo and libxkbcommon from
# Debian 12's own source packages, compiled there as static libraries. Needs root (debootstrap).
# Every stage leaves a stamp, so an interrupted run resumes where it stopped.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
cache="${AUTORUN_CACHE:-$HOME/.cache/autorun}"
root="${AUTORUN_LINUX_ROOT:-$cache/linux/bullseye-root}"
prefix=/opt/autorun
jobs="${JOBS:-$(nproc)}"
mkdir -p "$cache/src" "$cache/linux"
# shellcheck source=tools/debian-sources.sh
. "$here/tools/debian-sources.sh"

"$here/tools/install-packages.sh" debootstrap cmake ninja-build nasm meson bison pkgconf dpkg-dev \
  qt6-base-dev qt6-base-dev-tools

stage() {  # NAME: announces a stage and the time it took when the next one starts
  local now
  now=$(date +%s)
  [ -n "${stage_name:-}" ] && echo "== $stage_name took $(((now - stage_start + 30) / 60)) min"
  stage_name=$1 stage_start=$now
  [ "$1" = done ] || echo "== $1"
}

# The root: Debian 11's compiler, and the headers and libraries of what the launcher takes from
# the system. The libraries that go inside the launcher instead have their archives here and lose
# the development links to their shared objects, so that a link can only take the archive.
inside=(libxcb-icccm libxcb-image libxcb-keysyms libxcb-render-util libxcb-util)
if [ ! -f "$cache/stamp-linux-root-2" ]; then
  [ "$(id -u)" = 0 ] || { echo "$0: making the Debian 11 root needs root (debootstrap, chroot)" >&2; exit 1; }
  stage "a Debian 11 root in $root"
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    rm -rf -- "$root"
    debootstrap --variant=minbase bullseye "$root" "$(debian_mirror)"
  fi
  chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    g++-10 libc6-dev libx11-dev libx11-xcb-dev libxext-dev libxrender-dev libsm-dev libice-dev \
    libxcb1-dev libxcb-randr0-dev libxcb-shape0-dev libxcb-shm0-dev libxcb-sync-dev \
    libxcb-xfixes0-dev libxcb-xkb-dev libxcb-render0-dev libxcb-xinput-dev libxcb-icccm4-dev \
    libxcb-image0-dev libxcb-keysyms1-dev libxcb-render-util0-dev libxcb-util-dev \
    libfontconfig1-dev libfreetype6-dev zlib1g-dev libatspi2.0-dev libgtest-dev
  for lib in "${inside[@]}"; do rm -f -- "$root/usr/lib/x86_64-linux-gnu/$lib.so"; done
  # Links that name a path from the root's / point into this machine when followed from outside:
  # each is made relative, so that the linker finds what it names inside the root.
  find "$root/usr/lib" "$root/usr/lib64" -type l -lname '/*' -print0 |
    while IFS= read -r -d '' link; do
      ln -sfn -- "$(realpath -m --relative-to="$(dirname -- "$link")" -- "$root$(readlink -- "$link")")" "$link"
    done
  touch "$cache/stamp-linux-root-2"
fi

# A function that no exception passes through needs no unwind table, and only Qt Core is built with
# exceptions: without the tables kept for debuggers alone, the launcher is more than 1 MB smaller.
static_flags=-fno-asynchronous-unwind-tables
static_release "$here/cmake/linux-static.cmake" -DAUTORUN_LINUX_ROOT="$root"

if [ ! -f "$cache/stamp-linux-libjpeg-3" ]; then
  stage "libjpeg-turbo for Linux"
  DESTDIR="$root" cmake_stage "$cache/stamp-linux-libjpeg-3" "$cache/linux/build-libjpeg-3" \
    "$(fetch libjpeg-turbo)" "${toolchain[@]}" -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DCMAKE_INSTALL_LIBDIR:STRING=lib
fi

if [ ! -f "$cache/stamp-linux-xkbcommon-2" ]; then
  stage "libxkbcommon for Linux"
  src="$(fetch libxkbcommon)"
  build="$cache/linux/build-xkbcommon-2"
  cross="$cache/linux/meson-cross.ini"
  cat >"$cross" <<EOF
[binaries]
c = ['$root/usr/bin/x86_64-linux-gnu-gcc-10', '--sysroot=$root']
ar = 'ar'
strip = 'strip'
pkgconfig = 'pkg-config'
[properties]
sys_root = '$root'
pkg_config_libdir = '$root/usr/lib/x86_64-linux-gnu/pkgconfig:$root/usr/share/pkgconfig'
[built-in options]
c_args = ['-ffunction-sections', '-fdata-sections', '$static_flags']
[host_machine]
system = 'linux'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
  rm -rf -- "$build"
  # The keymap comes from the X server; the data paths are those of every distribution.
  meson setup "$build" "$src" --cross-file "$cross" --prefix="$prefix" --libdir=lib \
    --buildtype=release -Ddefault_library=static -Denable-x11=true -Denable-wayland=false \
    -Denable-docs=false -Denable-tools=false -Denable-xkbregistry=false \
    -Dxkb-config-root=/usr/share/X11/xkb -Dx-locale-root=/usr/share/X11/locale
  ninja -C "$build" -j"$jobs" libxkbcommon.a libxkbcommon-x11.a
  DESTDIR="$root" meson install -C "$build" --no-rebuild >/dev/null
  touch "$cache/stamp-linux-xkbcommon-2"
fi

if [ ! -f "$cache/stamp-linux-qt-2" ]; then
  stage "Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) for Linux (resumes if interrupted)"
  src="$(fetch qt6-base)"
  build="$cache/linux/build-qt-2"
  # X11 only, through xcb; the D-Bus library, which assistive technology is reached through, is
  # loaded when the program starts and left out where the system has none. The launcher reads
  # its pictures with libjpeg-turbo and its own code; Qt's image plugins are not needed. What
  # neither program shows (graphics views, dock windows, tabs, calendars, spin
  # boxes, the other dialogs, style sheets, Markdown and ODF, a tray icon, the non-
  # Gregorian calendars) stays out, as does the MIME database, which every desktop has in
  # /usr/share/mime.
  cmake_stage "$cache/stamp-linux-qt-2" "$build" "$src" "${toolchain[@]}" -DCMAKE_STAGING_PREFIX="$root$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=linux-g++ -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_xcb=ON -DFEATURE_xcb_xlib=ON -DFEATURE_xkbcommon=ON -DFEATURE_fontconfig=ON \
    -DFEATURE_system_freetype=ON -DFEATURE_system_zlib=ON -DFEATURE_dbus=ON \
    -DFEATURE_dbus_linked=OFF -DFEATURE_accessibility=ON -DFEATURE_accessibility_atspi_bridge=ON \
    -DFEATURE_glib=OFF -DFEATURE_icu=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_egl=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_eglfs=OFF -DFEATURE_linuxfb=OFF -DFEATURE_vnc=OFF \
    -DFEATURE_vkkhrdisplay=OFF -DFEATURE_evdev=OFF -DFEATURE_libinput=OFF -DFEATURE_tslib=OFF \
    -DFEATURE_mtdev=OFF -DFEATURE_libudev=OFF -DFEATURE_tuiotouch=OFF -DFEATURE_xcb_native_painting=OFF \
    -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_libproxy=OFF -DFEATURE_gssapi=OFF \
    -DFEATURE_brotli=OFF -DFEATURE_zstd=OFF -DFEATURE_journald=OFF -DFEATURE_slog2=OFF \
    -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
    -DFEATURE_optimize_size=ON -DFEATURE_testlib=OFF -DFEATURE_mimetype_database=OFF \
    -DFEATURE_jalalicalendar=OFF -DFEATURE_islamiccivilcalendar=OFF \
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF \
    -DFEATURE_picture=OFF -DFEATURE_movie=OFF -DFEATURE_systemtrayicon=OFF \
    -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF -DFEATURE_graphicsview=OFF \
    -DFEATURE_style_windows=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF \
    -DFEATURE_statusbar=OFF -DFEATURE_tabwidget=OFF -DFEATURE_tabbar=OFF -DFEATURE_calendarwidget=OFF \
    -DFEATURE_tableview=OFF -DFEATURE_columnview=OFF -DFEATURE_spinbox=OFF -DFEATURE_dial=OFF \
    -DFEATURE_lcdnumber=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_textbrowser=OFF \
    -DFEATURE_scroller=OFF -DFEATURE_splashscreen=OFF -DFEATURE_colordialog=OFF \
    -DFEATURE_fontdialog=OFF -DFEATURE_fontcombobox=OFF -DFEATURE_errormessage=OFF \
    -DFEATURE_inputdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_wizard=OFF
fi
stage done
echo "Linux toolchain ready: $root with $prefix"
