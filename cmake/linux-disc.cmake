# The self-contained Linux launcher for discs, built with cmake/linux-static.cmake against the
# static Qt of tools/linux/build-toolchain.sh. Included by the top-level CMakeLists.txt; does
# nothing in other builds.

if(NOT AUTORUN_LINUX_ROOT OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# The C++ runtime goes inside: the system gives only the C library, X11, fontconfig and freetype.
add_link_options(-static-libstdc++ -static-libgcc -Wl,--as-needed)
# At a fixed address: a position-independent program relocates about 900 KiB of pointers in its
# tables as it loads, which costs both disc space and pages read at the start.
add_link_options(-no-pie)
# With Qt, libjpeg-turbo and libxkbcommon built one section per function, the linker drops
# whatever the programs never reach.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options($<$<CONFIG:Release,MinSizeRel>:-Wl,--gc-sections>)
# Debian 11's xcb-image archive calls into xcb-util, which Qt's link names before it; named again
# at the end of every link line, the archive gives what xcb-image asks for.
string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -l:libxcb-util.a")

# Called once the programs exist. The inspector opens no window, so it takes no platform plugin;
# the launcher takes X11's (Qt's default for this build). Neither asks Qt for the network's state
# (the online check has its own bus client) nor speaks TLS, so Qt Network's plugins for those, and
# the D-Bus module the network-state one brings, stay out.
function(autorun_linux_disc_finish)
  if(TARGET autorun-inspect)
    qt_import_plugins(autorun-inspect EXCLUDE_BY_TYPE platforms platforminputcontexts platformthemes
                      networkinformation tls)
  endif()
  if(TARGET Autorun)
    qt_import_plugins(Autorun EXCLUDE_BY_TYPE networkinformation tls)
    autorun_startup_layout(Autorun ${CMAKE_SOURCE_DIR}/tools/linux/startup-order.ld)
  endif()
endfunction()
