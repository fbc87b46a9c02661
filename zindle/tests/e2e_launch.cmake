# End-to-end runs of the Linux launcher with the real JVM.

if(NOT CMAKE_CROSSCOMPILING)
  find_package(Java 11 COMPONENTS Development)
  if(Java_JAVAC_EXECUTABLE)
    # A blank in the class directory's name: the class path gets quoted.
    set(ZINDLE_PROBE_CLASSES "${CMAKE_CURRENT_BINARY_DIR}/probe classes")
    set(ZINDLE_PROBE_SOURCE
        ${PROJECT_SOURCE_DIR}/tests/launcher-java/LauncherProbe.java)
    add_custom_command(
      OUTPUT "${ZINDLE_PROBE_CLASSES}/LauncherProbe.class"
      COMMAND ${Java_JAVAC_EXECUTABLE} -d "${ZINDLE_PROBE_CLASSES}"
              ${ZINDLE_PROBE_SOURCE}
      DEPENDS ${ZINDLE_PROBE_SOURCE}
      COMMENT "Compiling the launcher's Java probe"
      VERBATIM)
    add_custom_target(zindle_launcher_probe ALL
                      DEPENDS "${ZINDLE_PROBE_CLASSES}/LauncherProbe.class")

    foreach(case IN ITEMS full restart failure registry-current
                          registry-version installed-view)
      add_test(NAME zindle_e2e_java_${case}
               COMMAND ${PROJECT_SOURCE_DIR}/tests/launcher-java/run-e2e.sh
                       ${case} $<TARGET_FILE:zindle> ${ZINDLE_PROBE_CLASSES}
                       ${CMAKE_CURRENT_BINARY_DIR}/e2e-java)
      set_tests_properties(zindle_e2e_java_${case} PROPERTIES TIMEOUT 300
                          SKIP_RETURN_CODE 77)
    endforeach()
  else()
    message(WARNING "javac not found: the launcher's Java runs are left out")
  endif()
endif()
