# The version of both components, in one place: the file VERSION. Every
# build tree reads it here, once, into ZINDLE_VERSION: the project's own
# (CMakeLists.txt, before project()) and the benchmarks' (bench/). A change
# of the file configures the tree again.
set(ZINDLE_VERSION_FILE ${CMAKE_CURRENT_LIST_DIR}/../VERSION)
file(STRINGS ${ZINDLE_VERSION_FILE} ZINDLE_VERSION LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${ZINDLE_VERSION_FILE})
