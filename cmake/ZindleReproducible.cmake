# The same sources give the same files wherever and whenever they are built:
# no source or build folder in the binaries (__FILE__, debug information),
# no link time in the Windows files, an ELF build id made from the contents.
# __DATE__ and __TIME__ follow SOURCE_DATE_EPOCH, which scripts/release.sh
# and scripts/test.sh set to the commit's time.
#
# GCC tries the last map given first, so the build folder (which may lie
# inside the source folder) comes last.
foreach(dir IN ITEMS ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${dir}=.>)
endforeach()

if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
else()
  add_link_options(-Wl,--build-id=sha1)
endif()
