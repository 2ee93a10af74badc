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

# Calls between functions of one of our shared libraries bind inside it instead of going
# through the PLT; nobody interposes single functions of these libraries.
add_compile_options(-fno-semantic-interposition)
# No path of the build machine in what we ship: __FILE__ and debug info name files relative to
# the source tree, so that builds are reproducible wherever the tree sits.
add_compile_options(-ffile-prefix-map=${PROJECT_BINARY_DIR}/=
                    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)

include(GNUInstallDirs)
