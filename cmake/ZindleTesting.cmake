# Test helpers shared by the launcher and the bridge.

# GoogleTest: Debian's packaged build natively, its sources when cross
# compiling (the mingw toolchains have no packaged gtest).
if(CMAKE_CROSSCOMPILING)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
  endif()
  set(ZINDLE_GTEST_LIBS gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(ZINDLE_GTEST_LIBS GTest::gtest GTest::gtest_main)
endif()

set(ZINDLE_SANITIZER_FLAGS -fsanitize=address,undefined
                           -fno-sanitize-recover=all -fno-omit-frame-pointer)

# zindle_sanitize(target): instruments a test target when sanitizers are on.
function(zindle_sanitize target)
  if(ZINDLE_SANITIZE AND NOT CMAKE_CROSSCOMPILING)
    target_compile_options(${target} PRIVATE ${ZINDLE_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${ZINDLE_SANITIZER_FLAGS})
  endif()
endfunction()

# Wine for running Windows programs from CTest. The session script (the
# wine_start fixture) chooses how this machine runs programs of the build's
# bitness (ZINDLE_WINE_ROUTE, when set, chooses for 32-bit programs) and
# makes ${ZINDLE_WINE} for it, with the prefix of that route; every Windows
# test program runs through that command, so a 32-bit build also works on a
# host that cannot execute 32-bit programs (see tests/wine/wine-session.sh).
if(CMAKE_CROSSCOMPILING AND WIN32)
  find_program(ZINDLE_WINESERVER wineserver REQUIRED)
  # The 64-bit build's prefix, and the stem of the 32-bit build's: one per
  # route (wineprefix-native, wineprefix-qemu).
  set(ZINDLE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(ZINDLE_WINE_LOADER ${CMAKE_BINARY_DIR}/wine-loader)
  set(ZINDLE_WINE ${ZINDLE_WINE_LOADER}/wine)
  set(ZINDLE_WINE_ARCH ${ZINDLE_SYSTEM})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZINDLE_WINE})
endif()

# zindle_wine_fixture(): CTest fixture that starts one persistent
# wineserver before the Wine tests and stops it after them. The first Wine
# process otherwise starts wineserver and winedevice with its own output
# streams, and a test runner that captures them waits forever.
function(zindle_wine_fixture)
  get_property(defined GLOBAL PROPERTY ZINDLE_WINE_FIXTURE)
  if(defined)
    return()
  endif()
  set_property(GLOBAL PROPERTY ZINDLE_WINE_FIXTURE ON)
  add_test(NAME wine_start
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wine-session.sh start)
  add_test(NAME wine_stop
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wine-session.sh stop)
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine
                       ENVIRONMENT "${ZINDLE_WINE_ENV}")
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine
                       ENVIRONMENT "${ZINDLE_WINE_ENV}")
endfunction()

# zindle_wine_test(name): marks a test as needing Wine.
function(zindle_wine_test name)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
                       ENVIRONMENT "${ZINDLE_WINE_ENV}")
endfunction()

if(CMAKE_CROSSCOMPILING AND WIN32)
  set(ZINDLE_WINE_ENV
      "WINEPREFIX=${ZINDLE_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml="
      "ZINDLE_WINE_ARCH=${ZINDLE_WINE_ARCH};ZINDLE_WINE_LOADER=${ZINDLE_WINE_LOADER}")
endif()
