cmake_minimum_required(VERSION 3.13...3.31)
# The code in the documentation compiles: every ```cpp block of Doc/Guide.md and every
# \code ... \endcode block of the headers' doc comments is compiled, not linked
# (-fsyntax-only), with COMPILER against the build tree's include directories.
#
# The blocks are compiled together, in one source after every public header, the test kit's,
# the platform headers, log4cplus and the standard headers they are likely to use. How, is said
# by a marker line directly above a block of the guide:
#   (none)                    a fragment: compiled as the body of a function of its own
#   <!-- check: unit -->      namespace-scope code: it defines functions or objects
#   <!-- check: skip -->      not compiled
# Header blocks are always fragments.
#
# Input: SOURCE_DIR, WORK_DIR, COMPILER, CXX_FLAGS; |-separated lists: PUBLIC_HEADERS (the
# library's), INCLUDE_DIRS (the test kit's among them), SYSTEM_INCLUDE_DIRS.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

string(REPLACE "|" ";" includeDirs "${INCLUDE_DIRS}")
string(REPLACE "|" ";" systemDirs "${SYSTEM_INCLUDE_DIRS}")
string(REPLACE "|" ";" publicHeaders "${PUBLIC_HEADERS}")
separate_arguments(flags UNIX_COMMAND "${CXX_FLAGS}")
# Doc code may leave a variable unused for the reader to see: that is the one warning let go.
list(APPEND flags -std=c++17 -fsyntax-only -Wall -Wextra -Werror -Wno-unused)
foreach(dir ${includeDirs})
  list(APPEND flags -I${dir})
endforeach()
foreach(dir ${systemDirs})
  list(APPEND flags -isystem ${dir})
endforeach()

# What every block sees.
file(GLOB helperHeaders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/Include/Quor/*.h)
set(prelude "")
foreach(header chrono cstdint cstdio map stdexcept string vector boost/optional.hpp
        boost/date_time/posix_time/posix_time_types.hpp log4cplus/configurator.h
        log4cplus/initializer.h log4cplus/logger.h Brask/DeviceStackClient.h
        KnxStack/GroupValue.h KnxStack/KnxDpt.h TevValue/TevValue.h
        QuorSim/SimulatedDeviceStack.h QuorSim/SimulatedRequestEngine.h gtest/gtest.h)
  string(APPEND prelude "#include <${header}>\n")
endforeach()
foreach(header ${publicHeaders})
  get_filename_component(name ${header} NAME)
  string(APPEND prelude "#include <QuorObjectModel/${name}>\n")
endforeach()
foreach(header ${helperHeaders})
  string(REGEX REPLACE "^Include/" "" header ${header})
  string(APPEND prelude "#include <${header}>\n")
endforeach()

set(compiled 0)
set(skipped 0)
# All blocks go into one translation unit, each behind a #line that names its place: one
# compile of the headers instead of one per block.
set(source "${prelude}")

# Adds one block; origin is "file:line" of its first line.
function(add_doc_code origin mode code)
  string(MAKE_C_IDENTIFIER "${origin}" name)
  string(REGEX MATCH "^(.*):([0-9]+)$" unused "${origin}")
  set(file ${CMAKE_MATCH_1})
  set(line ${CMAKE_MATCH_2})
  if(mode STREQUAL "unit")
    string(APPEND source "#line ${line} \"${file}\"\n${code}\n")
  else()
    string(APPEND source
           "int QuorDocFragment_${name}() {\n#line ${line} \"${file}\"\n${code}\n  return 0;\n}\n")
  endif()
  set(source "${source}" PARENT_SCOPE)
endfunction()

# Reads a file as a list of lines; '\', ';', '[' and ']' are kept out of CMake's list syntax
# and given back by restore().
function(read_lines path variable)
  file(READ ${path} text)
  string(REPLACE "\\" "@BACKSLASH@" text "${text}")
  string(REPLACE ";" "@SEMICOLON@" text "${text}")
  string(REPLACE "[" "@LBRACKET@" text "${text}")
  string(REPLACE "]" "@RBRACKET@" text "${text}")
  string(REPLACE "\n" ";" text "${text}")
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
function(restore variable)
  set(text "${${variable}}")
  string(REPLACE "@SEMICOLON@" ";" text "${text}")
  string(REPLACE "@LBRACKET@" "[" text "${text}")
  string(REPLACE "@RBRACKET@" "]" text "${text}")
  string(REPLACE "@BACKSLASH@" "\\" text "${text}")
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

# The guide.
set(guide Doc/Guide.md)
read_lines(${SOURCE_DIR}/${guide} lines)
set(number 0)
set(inBlock FALSE)
set(marker "fragment")
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(NOT inBlock AND line STREQUAL "```cpp")
    set(inBlock TRUE)
    math(EXPR start "${number} + 1")
    set(code "")
  elseif(inBlock AND line STREQUAL "```")
    set(inBlock FALSE)
    restore(code)
    if(marker STREQUAL "skip")
      message("${guide}:${start}: ${marker} block skipped")
      math(EXPR skipped "${skipped} + 1")
    else()
      add_doc_code("${guide}:${start}" ${marker} "${code}")
      math(EXPR compiled "${compiled} + 1")
    endif()
    set(marker "fragment")
  elseif(inBlock)
    string(APPEND code "${line}\n")
  elseif(line MATCHES "^<!-- check: ([a-z]+) -->$")
    set(marker ${CMAKE_MATCH_1})
    if(NOT marker MATCHES "^(unit|skip)$")
      message(FATAL_ERROR "${guide}:${number}: unknown marker '${marker}'")
    endif()
  elseif(NOT line STREQUAL "")
    set(marker "fragment")
  endif()
endforeach()

# The headers' doc comments.
file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/Include/*.h
     ${SOURCE_DIR}/Platform/*.h ${SOURCE_DIR}/TestKit/*.h)
foreach(header ${headers})
  read_lines(${SOURCE_DIR}/${header} lines)
  set(number 0)
  set(inBlock FALSE)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT inBlock AND line MATCHES "^ *///+ *(@BACKSLASH@|@)code({[.a-z]*})? *$")
      set(inBlock TRUE)
      math(EXPR start "${number} + 1")
      set(code "")
    elseif(inBlock AND line MATCHES "^ *///+ *(@BACKSLASH@|@)endcode *$")
      set(inBlock FALSE)
      restore(code)
      add_doc_code("${header}:${start}" fragment "${code}")
      math(EXPR compiled "${compiled} + 1")
    elseif(inBlock)
      string(REGEX REPLACE "^ *///+ ?" "" line "${line}")
      string(APPEND code "${line}\n")
    endif()
  endforeach()
endforeach()

if(compiled EQUAL 0)
  message(FATAL_ERROR "no code block found in the guide or the headers")
endif()
file(WRITE ${WORK_DIR}/DocCode.cpp "${source}")
execute_process(COMMAND ${COMPILER} ${flags} ${WORK_DIR}/DocCode.cpp
                RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_VARIABLE errors)
if(NOT result EQUAL 0)
  # The #line directives make each error name the guide's or the header's own line.
  message(FATAL_ERROR "documentation code does not compile:\n${errors}")
endif()
message(STATUS "${compiled} documentation code blocks compile, ${skipped} skipped")
