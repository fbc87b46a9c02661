# Export and import tables of Velmora.dll and Quarnel.dll (win64 build);
# on Linux the exported dynamic symbols of libVelmora.so and libQuarnel.so.
# Velmora.dll: exactly the 47 native methods of qel.surface.Native2DSolver
# plus sendMessageToJava; imports all 46 routines of Quarnel.dll and
# otherwise system DLLs only (no libstdc++/libgcc DLL). Quarnel.dll: exactly
# the 46 routines of Quarnel.def.


# The 46 routine names, from the .def the import library is made of.
file(STRINGS ${PROJECT_SOURCE_DIR}/bridge/Quarnel.def def_lines)
set(routines "")
foreach(line IN LISTS def_lines)
  string(STRIP "${line}" line)
  if(line MATCHES "^[A-Z][A-Z0-9]*$" AND NOT line STREQUAL "EXPORTS")
    string(APPEND routines "${line}\n")
  endif()
endforeach()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/quarnel_routines.txt "${routines}")

# The 47 methods, from the Java declarations, and the relay.
file(STRINGS ${PROJECT_SOURCE_DIR}/bridge/java/qel/surface/Native2DSolver.java
     java_lines REGEX "public static native void")
set(methods "")
foreach(line IN LISTS java_lines)
  string(REGEX MATCH "native void ([A-Za-z0-9]+)\\(" _ "${line}")
  string(APPEND methods "Java_qel_surface_Native2DSolver_${CMAKE_MATCH_1}\n")
endforeach()
string(APPEND methods "sendMessageToJava\n")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/velmora_exports.txt "${methods}")

# The lists must really hold 47 + 1 and 46 names.
add_test(NAME pe_name_lists
         COMMAND ${CMAKE_COMMAND}
                 -DVELMORA=${CMAKE_CURRENT_BINARY_DIR}/velmora_exports.txt
                 -DQUARNEL=${CMAKE_CURRENT_BINARY_DIR}/quarnel_routines.txt
                 -P ${CMAKE_CURRENT_LIST_DIR}/pe/count_names.cmake)
set_tests_properties(pe_name_lists PROPERTIES TIMEOUT 60)

if(NOT WIN32)
  # Linux: the same export lists for the ELF libraries' dynamic symbols.
  find_program(VELMORA_NM nm REQUIRED)
  add_test(NAME elf_velmora_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/pe/check_elf.sh ${VELMORA_NM}
                   $<TARGET_FILE:Velmora>
                   ${CMAKE_CURRENT_BINARY_DIR}/velmora_exports.txt)
  add_test(NAME elf_quarnel_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/pe/check_elf.sh ${VELMORA_NM}
                   $<TARGET_FILE:Quarnel>
                   ${CMAKE_CURRENT_BINARY_DIR}/quarnel_routines.txt)
  set_tests_properties(elf_velmora_exports elf_quarnel_exports
                       PROPERTIES TIMEOUT 60)
  return()
endif()

find_program(VELMORA_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
add_test(NAME pe_velmora_dll
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/pe/check_pe.sh ${VELMORA_OBJDUMP}
                 $<TARGET_FILE:Velmora>
                 ${CMAKE_CURRENT_BINARY_DIR}/velmora_exports.txt Quarnel.dll
                 ${CMAKE_CURRENT_BINARY_DIR}/quarnel_routines.txt)
add_test(NAME pe_quarnel_dll
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/pe/check_pe.sh ${VELMORA_OBJDUMP}
                 $<TARGET_FILE:Quarnel>
                 ${CMAKE_CURRENT_BINARY_DIR}/quarnel_routines.txt)
set_tests_properties(pe_velmora_dll pe_quarnel_dll PROPERTIES TIMEOUT 60)
