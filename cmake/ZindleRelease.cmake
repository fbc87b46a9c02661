# Release: version information and branding of the Windows files, install
# components and the archives cpack makes of them. Included last, once the
# targets exist. The version is the project's (the top CMakeLists.txt).

# Branding of the launcher: an integrator sets these on the cache to build
# a launcher with the application's own icon and texts.
set(ZINDLE_ICON ${PROJECT_SOURCE_DIR}/zindle/res/zindle.ico
    CACHE FILEPATH "Icon (.ico) of the launcher")
set(ZINDLE_PRODUCT_NAME "Zindle" CACHE STRING "Product name in the launcher's version information")
set(ZINDLE_FILE_DESCRIPTION "Zindle Java application launcher"
    CACHE STRING "File description in the launcher's version information")
# The launcher's application manifest (execution level, supported Windows
# versions, DPI awareness, long paths).
set(ZINDLE_MANIFEST ${PROJECT_SOURCE_DIR}/zindle/res/zindle.manifest)
set(VELMORA_PRODUCT_NAME "Velmora")
set(VELMORA_FILE_DESCRIPTION "Velmora JNI bridge to the Quarnel solver")

# zindle_version_resource(target description product [icon]): compiles a
# VERSIONINFO resource (and the icon, when given; for a program, the
# application manifest) into a Windows target.
function(zindle_version_resource target description product)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  get_target_property(type ${target} TYPE)
  set(ZINDLE_RC_MANIFEST "")
  set(manifest "")
  if(type STREQUAL "EXECUTABLE")
    set(ZINDLE_RC_FILE_TYPE VFT_APP)
    set(ZINDLE_RC_FILE_NAME ${name}.exe)
    # The application manifest: resource 1 of type 24 (RT_MANIFEST).
    set(manifest ${ZINDLE_MANIFEST})
    set(ZINDLE_RC_MANIFEST "1 24 \"${manifest}\"")
  else()
    set(ZINDLE_RC_FILE_TYPE VFT_DLL)
    set(ZINDLE_RC_FILE_NAME ${name}.dll)
  endif()
  set(ZINDLE_RC_INTERNAL_NAME ${name})
  # Resource scripts double a quote inside a text.
  string(REPLACE "\"" "\"\"" ZINDLE_RC_DESCRIPTION "${description}")
  string(REPLACE "\"" "\"\"" ZINDLE_RC_PRODUCT "${product}")
  set(ZINDLE_RC_ICON "")
  if(ARGC GREATER 3)
    if(NOT EXISTS "${ARGV3}")
      message(FATAL_ERROR "The icon ${ARGV3} does not exist")
    endif()
    set(ZINDLE_RC_ICON "1 ICON \"${ARGV3}\"")
  endif()
  set(rc ${CMAKE_BINARY_DIR}/resources/${name}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set(depends ${manifest})
  if(ARGC GREATER 3)
    list(APPEND depends "${ARGV3}")
  endif()
  if(depends)
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target}
                                PROPERTIES OBJECT_DEPENDS "${depends}")
  endif()
endfunction()

if(WIN32)
  if(TARGET zindle)
    zindle_version_resource(zindle "${ZINDLE_FILE_DESCRIPTION}"
                            "${ZINDLE_PRODUCT_NAME}" "${ZINDLE_ICON}")
  endif()
  if(TARGET Velmora)
    zindle_version_resource(Velmora "${VELMORA_FILE_DESCRIPTION}"
                            "${VELMORA_PRODUCT_NAME}")
  endif()
  # The shipped Windows files carry no symbol table in a Release build:
  # they are a third of the size, and they end with their last section, so
  # taking a signature out again (osslsigncode remove-signature) gives back
  # exactly the file as built.
  foreach(target IN ITEMS zindle Velmora)
    if(TARGET ${target})
      target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-s>)
    endif()
  endforeach()
endif()

# Install components:
#   launcher  the launcher, at the top of the tree
#   bridge    the bridge in native/, its Java declaration in java/
#   standin   the stand-in solver beside the bridge; a test double, so only
#             installed when asked for by name (--component standin)
#   docs      the user documentation and the example model
# The Windows libraries are installed as files: their import libraries are
# not part of a release.
if(TARGET zindle)
  install(TARGETS zindle RUNTIME DESTINATION . COMPONENT launcher)
endif()
if(TARGET Velmora)
  if(WIN32)
    install(FILES $<TARGET_FILE:Velmora> DESTINATION native COMPONENT bridge)
    install(FILES $<TARGET_FILE:Quarnel> DESTINATION native
            COMPONENT standin EXCLUDE_FROM_ALL)
  else()
    install(TARGETS Velmora LIBRARY DESTINATION native COMPONENT bridge)
    install(TARGETS Quarnel LIBRARY DESTINATION native
            COMPONENT standin EXCLUDE_FROM_ALL)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/bridge/java/qel/surface/Native2DSolver.java
          DESTINATION java/qel/surface COMPONENT bridge)
  install(FILES ${PROJECT_SOURCE_DIR}/bridge/standin/README.md
          DESTINATION native RENAME standin-README.md
          COMPONENT standin EXCLUDE_FROM_ALL)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs COMPONENT docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/model DESTINATION examples
        COMPONENT docs)

# Archives of the default install: a ZIP for Windows, a .tar.gz for Linux,
# named Zindle-<version>-<preset>.
set(CPACK_GENERATOR TGZ)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_SYSTEM_NAME ${ZINDLE_SYSTEM})
set(CPACK_PACKAGE_NAME Zindle)
set(CPACK_PACKAGE_VENDOR "Zindle and Velmora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME
    ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
set(CPACK_COMPONENTS_ALL launcher docs)
if(TARGET Velmora)
  list(APPEND CPACK_COMPONENTS_ALL bridge)
endif()
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

if(BUILD_TESTING AND NOT ZINDLE_BUILD_FUZZERS)
  include(${PROJECT_SOURCE_DIR}/tests/release/release.cmake)
endif()
