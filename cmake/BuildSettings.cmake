# Build settings shared by the library's project and, built alone, the stand-ins' project.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# Our find modules (log4cplus without its CMake package, the external platform).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

# Our builds and CI turn this on for every compiler; a release built by someone else must not
# break on the next compiler's new warning.
option(QUOR_WERROR "Treat warnings in our own code as errors" OFF)
function(quor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Flags that not every supported compiler knows are added only where it takes them.
include(CheckCXXCompilerFlag)
function(quor_add_compile_option_if_known flag variable)
  check_cxx_compiler_flag(${flag} ${variable})
  if(${variable})
    add_compile_options(${ARGN})
  endif()
endfunction()

# Calls between functions of one of our shared libraries bind inside it instead of going
# through the PLT; nobody interposes single functions of these libraries.
quor_add_compile_option_if_known(-fno-semantic-interposition QUOR_HAVE_NO_SEMANTIC_INTERPOSITION
                                 -fno-semantic-interposition)
# No path of the build machine in what we ship: __FILE__ and debug info name files relative to
# the source tree, so that builds are reproducible wherever the tree sits. Older clang has the
# two halves of -ffile-prefix-map only.
foreach(dir ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  list(APPEND quorFilePrefixMaps -ffile-prefix-map=${dir}/=)
  list(APPEND quorMacroPrefixMaps -fmacro-prefix-map=${dir}/= -fdebug-prefix-map=${dir}/=)
endforeach()
quor_add_compile_option_if_known(-ffile-prefix-map=/a=b QUOR_HAVE_FILE_PREFIX_MAP
                                 ${quorFilePrefixMaps})
if(NOT QUOR_HAVE_FILE_PREFIX_MAP)
  quor_add_compile_option_if_known(-fmacro-prefix-map=/a=b QUOR_HAVE_MACRO_PREFIX_MAP
                                   ${quorMacroPrefixMaps})
endif()

# A header the build needs, or a clear stop.
function(quor_find_header variable header)
  find_path(${variable} ${header} ${ARGN})
  if(NOT ${variable})
    message(FATAL_ERROR "${header} not found (set ${variable} to its include directory)")
  endif()
endfunction()

# boost (COMPONENTS are the compiled ones), log4cplus and utfcpp at the oldest versions the
# device's SDK has. An SDK's boost may have no CMake package of its own (before 1.70): set
# Boost_NO_BOOST_CMAKE=ON and CMake's FindBoost finds it; Boost::boost is the header target
# both ways. log4cplus comes through its CMake package or its log4cplus.pc.
macro(quor_find_dependencies)
  find_package(Boost 1.69 REQUIRED COMPONENTS ${ARGN})
  find_package(log4cplus 2.0 REQUIRED)
  # Header-only and used by our sources alone: its include directory is all we need. (Debian
  # ships its CMake package for the build architecture only, so a cross build cannot use it.)
  quor_find_header(UTF8CPP_INCLUDE_DIR utf8.h PATH_SUFFIXES utf8cpp)
endmacro()

include(GNUInstallDirs)

# Installed outside the system's library directories, the libraries find one another and the
# programs find them relative to where they lie, so an install under any prefix runs without
# LD_LIBRARY_PATH. In the system's directories (Debian's /usr) nothing carries a RUNPATH.
list(FIND CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES "${CMAKE_INSTALL_FULL_LIBDIR}" quorSystemLibdir)
if(quorSystemLibdir EQUAL -1)
  set(CMAKE_INSTALL_RPATH "$ORIGIN")
  file(RELATIVE_PATH quorLibdirFromBindir ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set(QUOR_PROGRAM_INSTALL_RPATH "$ORIGIN/${quorLibdirFromBindir}")
endif()
# The build tree's RUNPATHs relative too: installing blanks them but keeps their length in the
# string table, so an absolute one would make the binaries differ with the build directory.
# (CMake 3.13 ignores this; its builds are right, only not reproducible across directories.)
set(CMAKE_BUILD_RPATH_USE_ORIGIN ON)

# Programs link as PIE, as they are compiled, where CMake can say so (3.14 and later); no
# library is named that nothing uses.
if(NOT CMAKE_VERSION VERSION_LESS 3.14)
  include(CheckPIESupported)
  check_pie_supported()
endif()
add_link_options(-Wl,--as-needed)
