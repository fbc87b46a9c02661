# Builds the launcher alone twice, in two build folders at different paths,
# with the same SOURCE_DATE_EPOCH, and compares the two executables byte
# for byte. With debug information, so that a build folder written into
# the binary shows.
# cmake -DSOURCE= -DBUILD= -DTOOLCHAIN= -P reproducible_build.cmake
include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)
file(REMOVE_RECURSE ${BUILD})
set(ENV{SOURCE_DATE_EPOCH} 1765000000)
set(launchers)
foreach(tree IN ITEMS a a-second-build-folder/with/a/longer/path)
  set(dir ${BUILD}/${tree})
  run(${CMAKE_COMMAND} -S ${SOURCE} -B ${dir}
      -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=RelWithDebInfo
      -DZINDLE_BUILD_BRIDGE=OFF -DBUILD_TESTING=OFF)
  run(${CMAKE_COMMAND} --build ${dir} --target zindle -j2)
  file(GLOB exe ${dir}/zindle/*.exe)
  list(APPEND launchers ${exe})
endforeach()

list(GET launchers 0 first)
list(GET launchers 1 second)
file(SHA256 ${first} one)
file(SHA256 ${second} two)
if(NOT one STREQUAL two)
  message(FATAL_ERROR "the two builds differ:\n${one} ${first}\n${two} ${second}")
endif()
message(STATUS "identical launchers from two build folders: ${one}")
