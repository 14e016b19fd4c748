# The Windows build: cross-compiled with cmake/mingw-w64.cmake against the static Qt that
# tools/windows/build-toolchain.sh makes. Included by the top-level CMakeLists.txt; does nothing
# on other systems.

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  return()
endif()

# One file per program, no DLL beside it: the C and C++ runtimes and winpthread go in statically.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release,MinSizeRel>:-s>)
# With Qt and libjpeg built one section per function (tools/windows/build-toolchain.sh), the linker
# drops whatever the programs never reach.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options($<$<CONFIG:Release,MinSizeRel>:-Wl,--gc-sections>)
# Sections that start on page boundaries in the file can be mapped straight from the disc, page by
# page as they are needed; Wine reads a program with 512-byte alignment into memory whole.
add_link_options($<$<CONFIG:Release,MinSizeRel>:-Wl,--file-alignment,4096>)
# Everything in the launcher is 8-bit ANSI text; the W functions are never meant.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# The tests and the test discovery run under Wine, in a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/windows/wine-run.sh)
# Listing the tests when ctest runs keeps a Wine problem from failing the build itself.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# Debian ships GoogleTest as source only for other targets; it is built with the project.
if(NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The stand-in player of the Windows demo disc and of the shell tests: a tiny C program that logs
# the command line it was started with.
enable_language(C)
enable_language(RC)
add_executable(stand-in-player WIN32 ${CMAKE_SOURCE_DIR}/tools/windows/stand-in-player.c)

# Every program linked with the Windows platform plugin needs the symbol that
# tools/windows/directwrite_absent.cpp explains.
add_library(autorun_directwrite_absent OBJECT ${CMAKE_SOURCE_DIR}/tools/windows/directwrite_absent.cpp)
target_link_libraries(autorun_directwrite_absent PRIVATE Qt6::Core)

# Called once the programs and tests exist: the GUI subsystem, the icon and version resource for
# the launcher; the Windows platform plugin for the programs that open a window, and the
# offscreen one for the tests, which run without a display.
function(autorun_windows_finish)
  if(TARGET test_windows)
    add_dependencies(test_windows stand-in-player)
  endif()
  if(TARGET Autorun)
    set_target_properties(Autorun PROPERTIES WIN32_EXECUTABLE ON)
    target_sources(Autorun PRIVATE ${CMAKE_SOURCE_DIR}/src/app/autorun.rc)
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/autorun.rc APPEND PROPERTY OBJECT_DEPENDS
                 ${CMAKE_SOURCE_DIR}/src/app/autorun.ico)
    qt_import_plugins(Autorun INCLUDE Qt6::QWindowsIntegrationPlugin)
    autorun_startup_layout(Autorun ${CMAKE_SOURCE_DIR}/tools/windows/startup-order.ld)
  endif()
  get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
  if(BUILD_TESTING)
    get_property(tests DIRECTORY ${CMAKE_SOURCE_DIR}/tests PROPERTY BUILDSYSTEM_TARGETS)
    list(APPEND targets ${tests})
  endif()
  foreach(target ${targets})
    if(target MATCHES "^test_" OR target STREQUAL "autorun-inspect")
      qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
    if(target MATCHES "^test_" OR target STREQUAL "autorun-inspect" OR target STREQUAL "Autorun")
      target_sources(${target} PRIVATE $<TARGET_OBJECTS:autorun_directwrite_absent>)
    endif()
  endforeach()
endfunction()
