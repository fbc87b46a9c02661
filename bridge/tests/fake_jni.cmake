# GoogleTest suite of the native methods over a fake JNIEnv (fake_jni.h).
# Every bridge/tests/*_test.cpp joins the one test program.
#
# Linux: the bridge and the stand-in are compiled again with the sanitizers
# (VelmoraSan, QuarnelSan), so a read or write outside a Java array, a
# solver buffer or a text fails the test. win64: the program links the real
# Velmora.dll (which imports the real Quarnel.dll), sits beside both DLLs,
# and runs under Wine.

if(NOT WIN32)
  add_library(QuarnelSan SHARED ${QUARNEL_SOURCES})
  target_include_directories(QuarnelSan PRIVATE ${PROJECT_SOURCE_DIR}/bridge)
  target_compile_definitions(QuarnelSan PRIVATE QUARNEL_BUILD)
  set_target_properties(QuarnelSan PROPERTIES CXX_VISIBILITY_PRESET hidden)
  target_link_libraries(QuarnelSan PRIVATE dl)
  zindle_sanitize(QuarnelSan)

  add_library(VelmoraSan SHARED ${VELMORA_SOURCES})
  target_include_directories(VelmoraSan PRIVATE ${PROJECT_SOURCE_DIR}/bridge
                             ${VELMORA_JNI_INCLUDES})
  set_target_properties(VelmoraSan PROPERTIES CXX_VISIBILITY_PRESET hidden)
  target_link_libraries(VelmoraSan PRIVATE QuarnelSan)
  zindle_sanitize(VelmoraSan)
  # The stand-in is linked too, for tests of its own checks.
  set(VELMORA_UNDER_TEST VelmoraSan QuarnelSan)
else()
  set(VELMORA_UNDER_TEST Velmora Quarnel)
endif()

add_library(fake_jni STATIC ${CMAKE_CURRENT_LIST_DIR}/fake_jni.cpp)
target_include_directories(fake_jni PUBLIC ${CMAKE_CURRENT_LIST_DIR}
                           ${PROJECT_SOURCE_DIR}/bridge ${VELMORA_JNI_INCLUDES})
zindle_sanitize(fake_jni)

file(GLOB VELMORA_FAKE_TEST_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(velmora_fake_tests ${VELMORA_FAKE_TEST_SOURCES})
target_link_libraries(velmora_fake_tests PRIVATE fake_jni ${VELMORA_UNDER_TEST}
                      ${ZINDLE_GTEST_LIBS})
zindle_sanitize(velmora_fake_tests)

set(VELMORA_FAKE_JOURNAL fake_tests_journal.txt)
if(WIN32)
  # Beside Velmora.dll and Quarnel.dll, which Windows looks for there.
  set_target_properties(velmora_fake_tests PROPERTIES
                        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bridge)
  target_link_options(velmora_fake_tests PRIVATE -static)
  add_dependencies(velmora_fake_tests Quarnel)
  zindle_wine_fixture()
  add_test(NAME velmora_fake_jni_wine COMMAND velmora_fake_tests
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/bridge)
  zindle_wine_test(velmora_fake_jni_wine)
  set_tests_properties(velmora_fake_jni_wine PROPERTIES
    ENVIRONMENT "${ZINDLE_WINE_ENV};QUARNEL_JOURNAL=${VELMORA_FAKE_JOURNAL}"
    TIMEOUT 120
    # A program that crashes under Wine can still end with status 0: the
    # suite passes on GoogleTest's own word only.
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ tests?\\."
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
else()
  add_test(NAME velmora_fake_jni COMMAND velmora_fake_tests
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  # allocator_may_return_null: a buffer too large to allocate must reach
  # the bridge as a failed allocation (OutOfMemoryError), not end the test.
  set_tests_properties(velmora_fake_jni PROPERTIES
    ENVIRONMENT "QUARNEL_JOURNAL=${VELMORA_FAKE_JOURNAL};ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:max_allocation_size_mb=1024"
    TIMEOUT 120)
endif()
