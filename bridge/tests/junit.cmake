# JUnit 5 tests of the bridge on the real JVM (Linux only): every
# bridge/java/**.java and bridge/tests/java/**.java is compiled together;
# each bridge/tests/java/**/*Test.java class runs as its own CTest test under
# -Xcheck:jni against libVelmora.so and the stand-in libQuarnel.so, and fails
# on any JNI warning. Each class gets its own journal file, named by
# QUARNEL_JOURNAL (the test support class qel.surface.Journal reads it).

if(WIN32)
  return()
endif()

find_program(VELMORA_JAVA java HINTS $ENV{JAVA_HOME}/bin REQUIRED)
find_program(VELMORA_JAVAC javac HINTS $ENV{JAVA_HOME}/bin REQUIRED)
set(VELMORA_JUNIT_JAR /usr/share/java/junit-platform-console-standalone.jar
    CACHE FILEPATH "JUnit console launcher (standalone jar)")

file(GLOB_RECURSE VELMORA_JAVA_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/bridge/java/*.java
     ${CMAKE_CURRENT_LIST_DIR}/java/*.java)
set(VELMORA_CLASSES ${CMAKE_CURRENT_BINARY_DIR}/java-classes)
# The same classes without vmz.ErrorProcessor, and with a variant of it that
# lacks processCodedMessage, for the relay's two failure lines.
set(VELMORA_CLASSES_NO_EP ${CMAKE_CURRENT_BINARY_DIR}/java-classes-no-ep)
set(VELMORA_CLASSES_NO_METHOD ${CMAKE_CURRENT_BINARY_DIR}/java-classes-no-method)
set(VELMORA_NO_METHOD_SOURCE
    ${CMAKE_CURRENT_LIST_DIR}/java_variants/no_method/vmz/ErrorProcessor.java)

add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/java-classes.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VELMORA_CLASSES} ${VELMORA_CLASSES_NO_EP}
          ${VELMORA_CLASSES_NO_METHOD}
  COMMAND ${VELMORA_JAVAC} -encoding UTF-8 -Xlint:all -Werror
          -d ${VELMORA_CLASSES} -cp ${VELMORA_JUNIT_JAR} ${VELMORA_JAVA_SOURCES}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELMORA_CLASSES}
          ${VELMORA_CLASSES_NO_EP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${VELMORA_CLASSES_NO_EP}/vmz
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELMORA_CLASSES_NO_EP}
          ${VELMORA_CLASSES_NO_METHOD}
  COMMAND ${VELMORA_JAVAC} -encoding UTF-8 -d ${VELMORA_CLASSES_NO_METHOD}
          ${VELMORA_NO_METHOD_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_CURRENT_BINARY_DIR}/java-classes.stamp
  DEPENDS ${VELMORA_JAVA_SOURCES} ${VELMORA_NO_METHOD_SOURCE}
  COMMENT "Compiling the bridge's Java classes and tests"
  VERBATIM)
add_custom_target(velmora_java_classes ALL
                  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/java-classes.stamp)

set(VELMORA_JVM_ARGS -Xcheck:jni -Djava.library.path=$<TARGET_FILE_DIR:Velmora>)
# -Xcheck:jni reports problems as lines beginning "WARNING"; any such line
# fails the test even when the JUnit run itself passes.
set(VELMORA_JNI_WARNING "WARNING")
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/journals)

file(GLOB_RECURSE VELMORA_JUNIT_SOURCES CONFIGURE_DEPENDS
     RELATIVE ${CMAKE_CURRENT_LIST_DIR}/java
     ${CMAKE_CURRENT_LIST_DIR}/java/*Test.java)
foreach(source IN LISTS VELMORA_JUNIT_SOURCES)
  string(REGEX REPLACE "\\.java$" "" class ${source})
  string(REPLACE "/" "." class ${class})
  string(REGEX REPLACE ".*\\." "" simple ${class})
  set(name junit_${simple})
  # The classes on the JVM's own class path, not the launcher's: the relay
  # finds vmz.ErrorProcessor through the system class loader on threads the
  # bridge attaches.
  add_test(NAME ${name}
           COMMAND ${VELMORA_JAVA} ${VELMORA_JVM_ARGS}
                   -cp ${VELMORA_CLASSES}:${VELMORA_JUNIT_JAR}
                   org.junit.platform.console.ConsoleLauncher
                   --select-class ${class}
                   --fail-if-no-tests --disable-banner --details=tree
                   --disable-ansi-colors)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QUARNEL_JOURNAL=${CMAKE_CURRENT_BINARY_DIR}/journals/${simple}.txt"
    FAIL_REGULAR_EXPRESSION "${VELMORA_JNI_WARNING}"
    TIMEOUT 180)
endforeach()

# The relay without vmz.ErrorProcessor, and with the class but without
# processCodedMessage: exactly the two lines, in order, and the JVM goes on.
foreach(missing IN ITEMS "class;${VELMORA_CLASSES_NO_EP};epClass"
                         "method;${VELMORA_CLASSES_NO_METHOD};methodID")
  list(GET missing 0 what)
  list(GET missing 1 classes)
  list(GET missing 2 shown)
  add_test(NAME relay_${what}_missing
           COMMAND ${VELMORA_JAVA} ${VELMORA_JVM_ARGS}
                   -cp ${classes} qel.surface.RelayProbe)
  set_tests_properties(relay_${what}_missing PROPERTIES
    PASS_REGULAR_EXPRESSION
    "sendMessageToJava: message: SETLOGFILE RELAY probe\nsendMessageToJava: ${shown} is NULL\n"
    FAIL_REGULAR_EXPRESSION "${VELMORA_JNI_WARNING}|Exception"
    TIMEOUT 60)
endforeach()
