# Checks of what a release ships: the install tree of every component and
# the archives (all presets), the version information and icons of the
# Windows files, and a launcher branded through the cache variables.

find_program(ZINDLE_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
set(ZINDLE_RELEASE_CHECKS ${PROJECT_SOURCE_DIR}/tests/release)
set(preset ${ZINDLE_SYSTEM})

add_test(NAME release_install_tree
         COMMAND ${ZINDLE_SYSTEM_PYTHON} ${ZINDLE_RELEASE_CHECKS}/check_install.py
                 ${preset} ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}
                 ${CMAKE_BINARY_DIR}/release-check ${CMAKE_COMMAND}
                 ${CMAKE_CPACK_COMMAND} ${PROJECT_VERSION})
set_tests_properties(release_install_tree PROPERTIES TIMEOUT 120)

if(NOT WIN32)
  return()
endif()

set(check ${ZINDLE_SYSTEM_PYTHON} ${ZINDLE_RELEASE_CHECKS}/check_pe_version.py)
set(kind gui32)
if(preset STREQUAL "win64")
  set(kind gui64)
endif()
if(TARGET zindle)
  add_test(NAME pe_launcher_version
           COMMAND ${check} $<TARGET_FILE:zindle> version=${PROJECT_VERSION}
                   name=$<TARGET_FILE_NAME:zindle> product=${ZINDLE_PRODUCT_NAME}
                   description=${ZINDLE_FILE_DESCRIPTION} icon=${ZINDLE_ICON}
                   manifest=${ZINDLE_MANIFEST}
                   kind=${kind}
                   imports=ADVAPI32.dll,KERNEL32.dll,msvcrt.dll,SHELL32.dll,USER32.dll)
endif()
if(TARGET Velmora)
  add_test(NAME pe_velmora_version
           COMMAND ${check} $<TARGET_FILE:Velmora> version=${PROJECT_VERSION}
                   name=Velmora.dll product=${VELMORA_PRODUCT_NAME}
                   description=${VELMORA_FILE_DESCRIPTION} kind=dll64)
endif()

# A launcher built with an integrator's icon and texts, from a build tree of
# its own with only the launcher, twice in different folders.
if(TARGET zindle AND preset STREQUAL "win32")
  set(branded ${CMAKE_BINARY_DIR}/branded)
  add_test(NAME release_branded_launcher
           COMMAND ${CMAKE_COMMAND}
                   -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${branded}
                   -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE}
                   -DPYTHON=${ZINDLE_SYSTEM_PYTHON}
                   -DVERSION=${PROJECT_VERSION}
                   -P ${ZINDLE_RELEASE_CHECKS}/branded_build.cmake)
  set_tests_properties(release_branded_launcher PROPERTIES TIMEOUT 600)
endif()

# The launcher signed in each way scripts/release.sh signs, then run.
if(TARGET zindle)
  foreach(way IN ITEMS pfx command)
    set(test release_signed_launcher_${way})
    add_test(NAME ${test}
             COMMAND ${ZINDLE_RELEASE_CHECKS}/signed_launcher.sh ${way}
                     $<TARGET_FILE:zindle> $<TARGET_FILE_DIR:zindle_stub_java>
                     ${CMAKE_BINARY_DIR}/signed ${PROJECT_SOURCE_DIR}
                     ${ZINDLE_SYSTEM_PYTHON} ${PROJECT_VERSION} ${ZINDLE_ICON})
    zindle_wine_test(${test})
    set_tests_properties(${test} PROPERTIES TIMEOUT 240)
  endforeach()
endif()
