# Builds the launcher alone with a product name, a file description and an
# icon of an integrator's, and reads them back from the executable.
# cmake -DSOURCE= -DBUILD= -DTOOLCHAIN= -DPYTHON= -DVERSION= -P branded_build.cmake
file(REMOVE_RECURSE ${BUILD})
file(MAKE_DIRECTORY ${BUILD})
set(icon ${BUILD}/model.ico)
set(product "Surface \"Model\" Studio")
set(description "Surface Model launcher")

include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

run(${PYTHON} ${SOURCE}/tools/make_icon.py ${icon} 48 24)
run(${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD}/tree
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release
    -DZINDLE_BUILD_BRIDGE=OFF -DBUILD_TESTING=OFF
    -DZINDLE_ICON=${icon} -DZINDLE_PRODUCT_NAME=${product}
    -DZINDLE_FILE_DESCRIPTION=${description})
run(${CMAKE_COMMAND} --build ${BUILD}/tree --target zindle -j2)
run(${PYTHON} ${SOURCE}/tests/release/check_pe_version.py
    ${BUILD}/tree/zindle/Zindle.exe version=${VERSION} name=Zindle.exe
    product=${product} description=${description} icon=${icon})
message(STATUS "branded launcher: ${product}, ${description}, ${icon}")
