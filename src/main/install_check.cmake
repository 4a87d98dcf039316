# cmake -DBUILD_DIR=<build> -DPREFIX=<scratch prefix> -DBINDIR=bin -P install_check.cmake
# Installs the build into an emptied prefix; fails unless the prefix then holds the editor,
# executable, and nothing else.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}")
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
if(NOT installed STREQUAL "${BINDIR}/korvanex")
  message(FATAL_ERROR "expected only ${BINDIR}/korvanex in the prefix, found: ${installed}")
endif()
execute_process(COMMAND test -x ${PREFIX}/${BINDIR}/korvanex RESULT_VARIABLE notExecutable)
if(NOT notExecutable EQUAL 0)
  message(FATAL_ERROR "${PREFIX}/${BINDIR}/korvanex is not executable")
endif()
file(REMOVE_RECURSE ${PREFIX})
