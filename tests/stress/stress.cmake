# Launcher stress cases: hostile configuration files read by the core in
# this process (sanitized when ZINDLE_SANITIZE is on) and by the real
# launcher binary. Include this file after the launcher's targets exist:
#   include(${PROJECT_SOURCE_DIR}/tests/stress/stress.cmake)
# The timeouts only stop a hang; no test looks at how long a run took.

if(TARGET zindle_core AND NOT CMAKE_CROSSCOMPILING)
  include(${PROJECT_SOURCE_DIR}/zindle/sources.cmake)
  # The core and the POSIX platform are compiled into the program itself so
  # that the sanitizers cover them.
  add_executable(zindle_stress
                 ${CMAKE_CURRENT_LIST_DIR}/config_stress.cpp
                 ${ZINDLE_CORE_SOURCES} ${ZINDLE_POSIX_SOURCES})
  target_include_directories(zindle_stress PRIVATE ${ZINDLE_SOURCE_DIR})
  zindle_sanitize(zindle_stress)

  add_test(NAME stress_config_read COMMAND zindle_stress read)
  set_tests_properties(stress_config_read PROPERTIES TIMEOUT 300)

  # A file that includes itself twice: the nesting bound alone leaves 2^32
  # reads, so this only ends when the total number of reads is bounded too.
  add_test(NAME stress_config_include_fanout COMMAND zindle_stress fanout)
  set_tests_properties(stress_config_include_fanout PROPERTIES TIMEOUT 120)

  if(TARGET zindle)
    add_test(NAME stress_zindle_binary
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/zindle-stress.sh
                     $<TARGET_FILE:zindle> $<TARGET_FILE:zindle_stress>)
    set_tests_properties(stress_zindle_binary PROPERTIES TIMEOUT 300)
  endif()
endif()
