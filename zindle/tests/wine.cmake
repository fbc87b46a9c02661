# End-to-end runs of the launcher (Zindle.exe in the 32-bit build,
# Zindle64.exe in the 64-bit one) under Wine: a stub java.exe/javaw.exe of
# the same bitness that records what it was given, registry entries imported
# into the view the launcher reads, and (under Xvfb) a driver that reads and
# answers the message boxes.

if(CMAKE_CROSSCOMPILING AND WIN32)
  set(ZINDLE_WINE_TOOLS ${CMAKE_CURRENT_BINARY_DIR}/wine-tools)
  set(ZINDLE_WINE_SOURCES ${PROJECT_SOURCE_DIR}/tests/wine)

  # The stub as a console java.exe and a GUI javaw.exe, and the box driver.
  # The stub also checks the launcher's splitter against the runtime's.
  add_executable(zindle_stub_java ${ZINDLE_WINE_SOURCES}/stub_java.cpp
                 ${ZINDLE_SOURCE_DIR}/platform/command_line_split.cpp)
  add_executable(zindle_stub_javaw ${ZINDLE_WINE_SOURCES}/stub_java.cpp
                 ${ZINDLE_SOURCE_DIR}/platform/command_line_split.cpp)
  add_executable(zindle_box_driver ${ZINDLE_WINE_SOURCES}/box_driver.cpp)
  foreach(stub IN ITEMS zindle_stub_java zindle_stub_javaw zindle_box_driver)
    target_include_directories(${stub} PRIVATE ${ZINDLE_SOURCE_DIR})
  endforeach()
  set_target_properties(zindle_stub_java PROPERTIES OUTPUT_NAME java)
  set_target_properties(zindle_stub_javaw PROPERTIES OUTPUT_NAME javaw
                        WIN32_EXECUTABLE ON)
  set_target_properties(zindle_box_driver PROPERTIES OUTPUT_NAME box_driver)
  target_link_libraries(zindle_box_driver PRIVATE user32)
  foreach(t IN ITEMS zindle_stub_java zindle_stub_javaw zindle_box_driver)
    set_target_properties(${t} PROPERTIES
                          RUNTIME_OUTPUT_DIRECTORY ${ZINDLE_WINE_TOOLS})
    # Static, so Wine needs no MinGW runtime DLLs.
    target_link_options(${t} PRIVATE -static)
  endforeach()
  target_link_options(zindle_stub_javaw PRIVATE -mwindows)

  zindle_wine_fixture()

  # Cases that replace the Java entries of the prefix's registry run one
  # at a time; so do the cases under Xvfb.
  set(ZINDLE_WINE_PLAIN_CASES smoke sample unreadable-config restart-and-record
                              no-record-without-o arguments encodings
                              working-folder not-started)
  set(ZINDLE_WINE_REGISTRY_CASES version-missing version-incompatible
                                 version-scan current-java no-java other-view)
  set(ZINDLE_WINE_BOX_CASES boxes-error boxes-unexpected-close
                            boxes-download boxes-debug boxes-no-java
                            boxes-start-failure boxes-no-mainclass)
  # The wider Java search and the two directives that use it.
  list(APPEND ZINDLE_WINE_REGISTRY_CASES search-temurin search-stale
              min-version)
  list(APPEND ZINDLE_WINE_BOX_CASES boxes-download-url)

  find_program(ZINDLE_XVFB_RUN xvfb-run)
  find_program(ZINDLE_XAUTH xauth)
  set(ZINDLE_WINE_CASES ${ZINDLE_WINE_PLAIN_CASES}
                        ${ZINDLE_WINE_REGISTRY_CASES})
  if(ZINDLE_XVFB_RUN AND ZINDLE_XAUTH)
    list(APPEND ZINDLE_WINE_CASES ${ZINDLE_WINE_BOX_CASES})
  else()
    message(WARNING "xvfb-run or xauth missing: the Wine box tests are left out")
  endif()

  foreach(case IN LISTS ZINDLE_WINE_CASES)
    string(TOLOWER ${ZINDLE_EXE_NAME}_wine_${case} test)
    add_test(NAME ${test}
             COMMAND ${ZINDLE_WINE_SOURCES}/run-wine-case.sh ${case}
                     $<TARGET_FILE:zindle> ${ZINDLE_WINE_TOOLS}
                     ${CMAKE_CURRENT_BINARY_DIR}/wine-cases)
    zindle_wine_test(${test})
    set_tests_properties(${test} PROPERTIES TIMEOUT 240)
    set(locks)
    if(case IN_LIST ZINDLE_WINE_BOX_CASES)
      list(APPEND locks zindle_xvfb zindle_wine_registry)
    elseif(case IN_LIST ZINDLE_WINE_REGISTRY_CASES)
      list(APPEND locks zindle_wine_registry)
    endif()
    if(locks)
      set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${locks}")
    endif()
  endforeach()
endif()
