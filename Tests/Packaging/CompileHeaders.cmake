cmake_minimum_required(VERSION 3.13...3.31)
# Every installed public header compiles alone, as an app's first include, with the strictest
# warnings an app may use: installs the build into WORK_DIR and compiles one translation unit
# per header with COMPILER (plus CXX_FLAGS) as STANDARD (17 or 20). Our headers are included
# with -I, everything they include (platform, boost, log4cplus) as a system header.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${prefix} -DCOMPONENT=dev
                        -P ${BUILD_DIR}/cmake_install.cmake
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "installing ${BUILD_DIR} failed")
endif()

separate_arguments(flags UNIX_COMMAND "${CXX_FLAGS}")
list(APPEND flags -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I${prefix}/include/quor)
foreach(dir ${prefix}/include/quor/platform ${SYSTEM_INCLUDE_DIRS})
  list(APPEND flags -isystem ${dir})
endforeach()

# -std=c++2a where the compiler does not know c++20 yet (GCC 9).
file(WRITE ${WORK_DIR}/empty.cpp "")
set(std -std=c++${STANDARD})
execute_process(COMMAND ${COMPILER} ${std} -fsyntax-only ${WORK_DIR}/empty.cpp
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0 AND STANDARD STREQUAL "20")
  set(std -std=c++2a)
endif()

file(GLOB headers RELATIVE ${prefix}/include/quor
     ${prefix}/include/quor/Quor/*.h ${prefix}/include/quor/QuorObjectModel/*.h)
set(failed)
foreach(header ${headers})
  string(MAKE_C_IDENTIFIER ${header} name)
  file(WRITE ${WORK_DIR}/${name}.cpp "#include <${header}>\n")
  execute_process(COMMAND ${COMPILER} ${std} ${flags} ${WORK_DIR}/${name}.cpp
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message("${header}:\n${errors}")
    list(APPEND failed ${header})
  endif()
endforeach()
list(LENGTH headers count)
if(failed)
  message(FATAL_ERROR "${COMPILER} ${std}: these do not compile alone: ${failed}")
endif()
message("${COMPILER} ${std}: all ${count} public headers compile alone")
