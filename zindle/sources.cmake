# The launcher's source lists, with absolute paths. Every build of the
# launcher's code includes this file: the program, the unit tests, the
# stress test, the fuzz targets and the benchmarks.

set(ZINDLE_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

# The version number (cmake/ZindleVersion.cmake, read before this file) goes
# into one generated source of the core, so no other file is compiled with it.
if(NOT ZINDLE_VERSION)
  message(FATAL_ERROR "Include cmake/ZindleVersion.cmake before zindle/sources.cmake")
endif()
set(ZINDLE_VERSION_SOURCE ${CMAKE_BINARY_DIR}/generated/zindle_version_number.cpp)
configure_file(${ZINDLE_SOURCE_DIR}/version_number.cpp.in
               ${ZINDLE_VERSION_SOURCE} @ONLY)

# The portable core: options, configuration, expansion, discovery,
# composition. It reaches the system only through the Platform seam.
set(ZINDLE_CORE_SOURCES
    ${ZINDLE_SOURCE_DIR}/launcher.cpp
    ${ZINDLE_SOURCE_DIR}/config_text.cpp
    ${ZINDLE_SOURCE_DIR}/config_reader.cpp
    ${ZINDLE_SOURCE_DIR}/run_sequence.cpp
    ${ZINDLE_SOURCE_DIR}/java_discovery.cpp
    ${ZINDLE_SOURCE_DIR}/java_search.cpp
    ${ZINDLE_SOURCE_DIR}/launch_step.cpp
    ${ZINDLE_SOURCE_DIR}/sample_writer.cpp
    ${ZINDLE_SOURCE_DIR}/version.cpp
    ${ZINDLE_VERSION_SOURCE})

# The text helpers (text.h) stand at the seam's level: the core and every
# platform use them. Every build links exactly one platform, so they are
# compiled with it.
set(ZINDLE_TEXT_SOURCES ${ZINDLE_SOURCE_DIR}/text.cpp)

# Below the seam: portable helpers both systems use, then each system's own.
set(ZINDLE_PLATFORM_COMMON_SOURCES ${ZINDLE_TEXT_SOURCES}
    ${ZINDLE_SOURCE_DIR}/platform/c_runtime.cpp)
# Each system has the same three parts: the platform, its registry reads
# and its processes.
foreach(system IN ITEMS posix win32)
  string(TOUPPER ${system} SYSTEM)
  set(ZINDLE_${SYSTEM}_SOURCES ${ZINDLE_PLATFORM_COMMON_SOURCES})
  foreach(part IN ITEMS platform registry process)
    list(APPEND ZINDLE_${SYSTEM}_SOURCES
         ${ZINDLE_SOURCE_DIR}/platform/${system}_${part}.cpp)
  endforeach()
endforeach()
# POSIX splits the composed Windows command line into an argument vector.
list(APPEND ZINDLE_POSIX_SOURCES ${ZINDLE_SOURCE_DIR}/platform/posix_paths.cpp
     ${ZINDLE_SOURCE_DIR}/platform/command_line_split.cpp)

# The recording fake platform of the unit tests and fuzz targets.
set(ZINDLE_FAKE_PLATFORM_SOURCES
    ${ZINDLE_SOURCE_DIR}/tests/fake_platform.cpp
    ${ZINDLE_SOURCE_DIR}/platform/command_line_split.cpp ${ZINDLE_TEXT_SOURCES})
