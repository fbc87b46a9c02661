# cmake -DVELMORA=file -DQUARNEL=file -P count_names.cmake
file(STRINGS ${VELMORA} velmora)
file(STRINGS ${QUARNEL} quarnel)
list(LENGTH velmora nv)
list(LENGTH quarnel nq)
if(NOT nv EQUAL 48 OR NOT nq EQUAL 46)
  message(FATAL_ERROR "expected 48 Velmora exports and 46 routines, got ${nv} and ${nq}")
endif()
message(STATUS "48 Velmora exports, 46 Quarnel routines")
