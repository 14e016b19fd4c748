#!/usr/bin/env bash
# Builds, once per machine, what the Windows targets link against: Qt 6 and libjpeg-turbo from
# Debian's own source packages, cross-compiled statically with mingw-w64 into a cache outside the
# repository. Every stage leaves a stamp, so an interrupted run resumes where it stopped.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
cache="${AUTORUN_CACHE:-$HOME/.cache/autorun}"
prefix="$cache/win64"
jobs="${JOBS:-$(nproc)}"
mkdir -p "$cache/src" "$prefix"

"$here/tools/install-packages.sh" g++-mingw-w64-x86-64-posix nasm ninja-build cmake dpkg-dev \
  qt6-base-dev qt6-base-dev-tools wine wine64 xvfb xauth imagemagick xdotool

# shellcheck source=tools/debian-sources.sh
. "$here/tools/debian-sources.sh"

static_release "$here/cmake/mingw-w64.cmake" -DAUTORUN_WIN_PREFIX="$prefix"

if [ ! -f "$cache/stamp-libjpeg-2" ]; then
  echo "== libjpeg-turbo for Windows"
  cmake_stage "$cache/stamp-libjpeg-2" "$cache/build-libjpeg-2" "$(fetch libjpeg-turbo)" "${toolchain[@]}" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
fi

if [ ! -f "$cache/stamp-qt-2" ]; then
  echo "== Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) for Windows (about an hour on two cores; resumes if interrupted)"
  src="$(fetch qt6-base)"
  # Debian's source leaves out the Wintab headers (their licence forbids changes), which only the
  # Windows plugin's Wintab tablet support needs: it is compiled out, the rest of the plugin stays.
  platforms="$src/src/plugins/platforms"
  if [ ! -f "$src/src/3rdparty/wintab/wintab.h" ]; then
    for plugin in windows:QWindowsIntegrationPlugin direct2d:QWindowsDirect2DIntegrationPlugin; do
      lists="$platforms/${plugin%%:*}/CMakeLists.txt"
      grep -q AUTORUN_NO_WINTAB "$lists" && continue
      sed -i "s/^qt_internal_extend_target(${plugin#*:} CONDITION QT_FEATURE_tabletevent\$/& AND NOT AUTORUN_NO_WINTAB/" "$lists"
      sed -i '1i set(AUTORUN_NO_WINTAB ON)' "$lists"
      echo "target_compile_definitions(${plugin#*:} PRIVATE AUTORUN_NO_WINTAB)" >>"$lists"
    done
    sed -i 's/^#if QT_CONFIG(tabletevent)$/#if QT_CONFIG(tabletevent) \&\& !defined(AUTORUN_NO_WINTAB)/' \
      "$platforms/windows/qwindowscontext.cpp" "$platforms/windows/qwindowspointerhandler.cpp" \
      "$platforms/windows/qwindowspointerhandler.h"
  fi
  cmake_stage "$cache/stamp-qt-2" "$cache/build-qt-2" "$src" "${toolchain[@]}" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF -DFEATURE_ssl=OFF -DFEATURE_schannel=OFF \
    -DFEATURE_openssl=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_accessibility=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_direct2d=OFF \
    -DFEATURE_optimize_size=ON
fi
echo "Windows toolchain ready in $prefix"
