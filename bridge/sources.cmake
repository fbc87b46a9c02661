# The bridge's and the stand-in's source lists, with absolute paths. Every
# build of their code includes this file: the libraries, the sanitizer and
# thread-sanitizer test builds, and the fuzz target.

set(VELMORA_SOURCES
    frame.cpp
    jni_support.cpp
    mesh_counts.cpp
    basin_setup.cpp
    bathymetry.cpp
    boundaries.cpp
    flow.cpp
    sediment.cpp
    results.cpp)
list(TRANSFORM VELMORA_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

# The stand-in solver: same 46 routine names and argument lists.
set(QUARNEL_SOURCES
    journal.cpp
    store.cpp
    relay.cpp
    standin_setup.cpp
    standin_boundaries.cpp
    standin_flow.cpp
    standin_sediment.cpp
    standin_results.cpp)
list(TRANSFORM QUARNEL_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/standin/)
