# End-to-end runs of the real Linux launcher (tests/launcher/e2e.sh).
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME launcher_e2e_config
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/launcher/e2e.sh
                   $<TARGET_FILE:zindle>)
  set_tests_properties(launcher_e2e_config PROPERTIES TIMEOUT 120)
endif()
