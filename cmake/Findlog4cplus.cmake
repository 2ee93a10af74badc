# Finds log4cplus as the IMPORTED target log4cplus::log4cplus: through the CMake package that
# log4cplus installs when built with CMake, or else, as its autotools build installs it (some
# device SDKs have it so), through its headers and library, with log4cplus.pc as a hint. The
# version is read from log4cplus/version.h.
if(NOT TARGET log4cplus::log4cplus)
  find_package(log4cplus ${log4cplus_FIND_VERSION} CONFIG QUIET)
endif()
if(TARGET log4cplus::log4cplus)
  set(log4cplus_FOUND TRUE)
  return()
endif()

find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(PC_log4cplus QUIET log4cplus)
endif()
find_path(log4cplus_INCLUDE_DIR log4cplus/version.h HINTS ${PC_log4cplus_INCLUDE_DIRS})
find_library(log4cplus_LIBRARY NAMES log4cplus HINTS ${PC_log4cplus_LIBRARY_DIRS})
if(log4cplus_INCLUDE_DIR)
  file(STRINGS ${log4cplus_INCLUDE_DIR}/log4cplus/version.h versionLine
       REGEX "^#define LOG4CPLUS_VERSION LOG4CPLUS_MAKE_VERSION")
  string(REGEX MATCHALL "[0-9]+" versionParts "${versionLine}")
  string(REPLACE ";" "." log4cplus_VERSION "${versionParts}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(log4cplus REQUIRED_VARS log4cplus_LIBRARY log4cplus_INCLUDE_DIR
                                  VERSION_VAR log4cplus_VERSION)
if(log4cplus_FOUND)
  add_library(log4cplus::log4cplus UNKNOWN IMPORTED)
  set_target_properties(log4cplus::log4cplus PROPERTIES IMPORTED_LOCATION ${log4cplus_LIBRARY}
                        INTERFACE_INCLUDE_DIRECTORIES ${log4cplus_INCLUDE_DIR})
endif()
