# Builds the launcher alone with a product name, a file description and an
# icon of an integrator's, and reads them back from the executable. Builds
# it once more in a build folder at another path, with the same
# SOURCE_DATE_EPOCH, and expects the same bytes; with debug information, so
# that a build folder written into the binary shows.
# cmake -DSOURCE= -DBUILD= -DTOOLCHAIN= -DPYTHON= -DVERSION= -P branded_build.cmake
file(REMOVE_RECURSE ${BUILD})
file(MAKE_DIRECTORY ${BUILD})
set(icon ${BUILD}/model.ico)
set(product "Surface \"Model\" Studio")
set(description "Surface Model launcher")
set(trees ${BUILD}/tree ${BUILD}/second/tree/at/a/longer/path)
set(ENV{SOURCE_DATE_EPOCH} 1765000000)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}")
  endif()
endfunction()

run(${PYTHON} ${SOURCE}/tools/make_icon.py ${icon} 48 24)
foreach(tree IN LISTS trees)
  run(${CMAKE_COMMAND} -S ${SOURCE} -B ${tree}
      -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=RelWithDebInfo
      -DZINDLE_BUILD_BRIDGE=OFF -DBUILD_TESTING=OFF
      -DZINDLE_ICON=${icon} -DZINDLE_PRODUCT_NAME=${product}
      -DZINDLE_FILE_DESCRIPTION=${description})
  run(${CMAKE_COMMAND} --build ${tree} --target zindle -j2)
  file(SHA256 ${tree}/zindle/Zindle.exe sha256)
  list(APPEND sums ${sha256})
endforeach()
run(${PYTHON} ${SOURCE}/tests/release/check_pe_version.py
    ${BUILD}/tree/zindle/Zindle.exe version=${VERSION} name=Zindle.exe
    product=${product} description=${description} icon=${icon})
list(REMOVE_DUPLICATES sums)
list(LENGTH sums different)
if(NOT different EQUAL 1)
  message(FATAL_ERROR "two builds of the launcher differ: ${sums}")
endif()
message(STATUS "branded launcher: ${product}, ${description}, ${icon}; "
               "built twice, the same bytes: ${sums}")
