# The self-contained Linux launcher for discs: built with Debian 11's GCC against Debian 11's C
# library and X11 libraries (the root that tools/linux/build-toolchain.sh makes), so that it runs
# with GNU libc 2.31 and later, and against the static Qt, libjpeg-turbo and libxkbcommon built
# there into /opt/autorun of that root.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/linux-static.cmake -DAUTORUN_LINUX_ROOT=ROOT ...
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

if(NOT AUTORUN_LINUX_ROOT)
  set(AUTORUN_LINUX_ROOT "$ENV{AUTORUN_LINUX_ROOT}")
endif()
if(NOT AUTORUN_LINUX_ROOT)
  set(AUTORUN_LINUX_ROOT "$ENV{HOME}/.cache/autorun/linux/bullseye-root")
endif()
if(NOT EXISTS "${AUTORUN_LINUX_ROOT}/usr/bin/x86_64-linux-gnu-g++-10")
  message(FATAL_ERROR "${AUTORUN_LINUX_ROOT} has no Debian 11 compiler: make linux-toolchain makes it")
endif()
# Passed on to the compiler checks, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES AUTORUN_LINUX_ROOT)

set(CMAKE_SYSROOT "${AUTORUN_LINUX_ROOT}")
# The root's compiler runs here as it is: its own parts are found beside it, and the headers and
# libraries in the root. The assembler and linker are this machine's.
set(CMAKE_C_COMPILER "${AUTORUN_LINUX_ROOT}/usr/bin/x86_64-linux-gnu-gcc-10")
set(CMAKE_CXX_COMPILER "${AUTORUN_LINUX_ROOT}/usr/bin/x86_64-linux-gnu-g++-10")
# The root's binutils would need libraries of the root; this machine's do the same work.
foreach(tool AR RANLIB NM OBJCOPY OBJDUMP STRIP READELF ADDR2LINE)
  string(TOLOWER ${tool} name)
  set(CMAKE_${tool} /usr/bin/${name} CACHE FILEPATH "")
endforeach()
set(CMAKE_LINKER /usr/bin/ld CACHE FILEPATH "")
foreach(language C CXX)
  set(CMAKE_${language}_COMPILER_AR /usr/bin/ar CACHE FILEPATH "")
  set(CMAKE_${language}_COMPILER_RANLIB /usr/bin/ranlib CACHE FILEPATH "")
endforeach()

# Libraries, headers and packages come from the root only; programs from this machine (Qt's own
# build tools are taken from its Qt 6 of the same version, QT_HOST_PATH=/usr).
set(CMAKE_FIND_ROOT_PATH "${AUTORUN_LINUX_ROOT}/opt/autorun")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${AUTORUN_LINUX_ROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${AUTORUN_LINUX_ROOT}/opt/autorun/lib/pkgconfig:${AUTORUN_LINUX_ROOT}/opt/autorun/share/pkgconfig:${AUTORUN_LINUX_ROOT}/usr/lib/x86_64-linux-gnu/pkgconfig:${AUTORUN_LINUX_ROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
