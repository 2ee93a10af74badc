cmake_minimum_required(VERSION 3.13...3.31)
# The tree's CMake code uses nothing younger than CMake 3.13, the oldest it supports and the
# oldest no CI cell can run: each pattern is a construct of a later CMake that once crept in.
set(younger
    "cmake_path\\("                                   # 3.20
    "PROJECT_IS_TOP_LEVEL"                            # 3.21
    "list\\((PREPEND|POP_FRONT|POP_BACK) "            # 3.15
    "find_(path|library|program|file)\\([^)]*REQUIRED" # 3.18
    "Boost::headers"                                  # FindBoost 3.15
    "-E rm "                                          # 3.17
    "--install "                                      # 3.15
    "--test-dir"                                      # 3.20
    "cmake_language|block\\(|return\\(PROPAGATE"      # 3.18, 3.25
    "string\\(JSON|file\\((REAL_PATH|CHMOD|ARCHIVE)"  # 3.19, 3.19, 3.18
    "\\$<(PATH|LINK_LANGUAGE|COMPILE_LANG_AND_ID):"   # 3.24, 3.18, 3.15
    "ZIP_LISTS")                                      # 3.17
# Not below the build directories, which may hold whole chroots.
set(files CMakeLists.txt)
file(GLOB tops RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(top ${tops})
  if(IS_DIRECTORY ${SOURCE_DIR}/${top} AND NOT top MATCHES "^(build|\\.)")
    file(GLOB_RECURSE more RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${top}/CMakeLists.txt
         ${SOURCE_DIR}/${top}/*.cmake ${SOURCE_DIR}/${top}/*.cmake.in)
    list(APPEND files ${more})
  endif()
endforeach()
# This file names the constructs it looks for.
list(REMOVE_ITEM files Tests/Packaging/CheckCMakeFloor.cmake)
set(found)
foreach(file ${files})
  file(STRINGS ${SOURCE_DIR}/${file} lines)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" code "${line}")
    foreach(pattern ${younger})
      if(code MATCHES "${pattern}")
        list(APPEND found "${file}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(found)
  string(REPLACE ";" "\n  " found "${found}")
  message(FATAL_ERROR "CMake younger than 3.13 in:\n  ${found}")
endif()
list(LENGTH files count)
message("${count} CMake files use CMake 3.13 only")
