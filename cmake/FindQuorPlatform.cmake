# Finds the device's platform libraries (helper and logging, value, KNX stack, device-stack
# client) as their vendor installs them: headers and shared libraries, no CMake package.
#
# Searches CMAKE_PREFIX_PATH and the system, re-rooted under CMAKE_SYSROOT and
# CMAKE_FIND_ROOT_PATH for a cross build. Defines the IMPORTED targets QuorPlatform::QuorHelper,
# QuorPlatform::TevValue, QuorPlatform::KnxStack and QuorPlatform::Brask, and sets
# QuorPlatform_FOUND, QuorPlatform_LIBRARY_DIRS and QuorPlatform_INCLUDE_DIRS.
#
# The vendor's names are the vendor's: for each component <C>, QuorPlatform_<C>_NAME is the
# library's link name and QuorPlatform_<C>_HEADER a header that marks its include directory.
# The defaults are those of our stand-ins.
include(FindPackageHandleStandardArgs)
include(CMakeFindDependencyMacro)

set(QuorPlatform_COMPONENTS QuorHelper TevValue KnxStack Brask)
set(_quorPlatformDefaultName_QuorHelper quorhelper)
set(_quorPlatformDefaultName_TevValue tevvalue)
set(_quorPlatformDefaultName_KnxStack knxstack)
set(_quorPlatformDefaultName_Brask braskdsc)
set(_quorPlatformDefaultHeader_QuorHelper QuorHelper/Logging.h)
set(_quorPlatformDefaultHeader_TevValue TevValue/TevValue.h)
set(_quorPlatformDefaultHeader_KnxStack KnxStack/GroupValue.h)
set(_quorPlatformDefaultHeader_Brask Brask/DeviceStackClient.h)

set(_quorPlatformRequired)
foreach(component IN LISTS QuorPlatform_COMPONENTS)
  set(QuorPlatform_${component}_NAME ${_quorPlatformDefaultName_${component}}
      CACHE STRING "Link name of the platform's ${component} library")
  set(QuorPlatform_${component}_HEADER ${_quorPlatformDefaultHeader_${component}}
      CACHE STRING "Header that marks the include directory of the platform's ${component}")
  # Our own installs put the headers under quor/platform; a vendor SDK puts them at the top.
  find_path(QuorPlatform_${component}_INCLUDE_DIR ${QuorPlatform_${component}_HEADER}
            PATH_SUFFIXES quor/platform)
  find_library(QuorPlatform_${component}_LIBRARY NAMES ${QuorPlatform_${component}_NAME})
  list(APPEND _quorPlatformRequired QuorPlatform_${component}_LIBRARY
              QuorPlatform_${component}_INCLUDE_DIR)
endforeach()

find_package_handle_standard_args(QuorPlatform REQUIRED_VARS ${_quorPlatformRequired})

if(QuorPlatform_FOUND)
  # The helper library's headers include log4cplus and boost.
  find_dependency(Boost 1.69)
  find_dependency(log4cplus 2.0)
  set(QuorPlatform_LIBRARY_DIRS)
  set(QuorPlatform_INCLUDE_DIRS)
  foreach(component IN LISTS QuorPlatform_COMPONENTS)
    get_filename_component(dir ${QuorPlatform_${component}_LIBRARY} DIRECTORY)
    list(APPEND QuorPlatform_LIBRARY_DIRS ${dir})
    list(APPEND QuorPlatform_INCLUDE_DIRS ${QuorPlatform_${component}_INCLUDE_DIR})
  endforeach()
  list(REMOVE_DUPLICATES QuorPlatform_LIBRARY_DIRS)
  list(REMOVE_DUPLICATES QuorPlatform_INCLUDE_DIRS)
  if(NOT TARGET QuorPlatform::QuorHelper)
    foreach(component IN LISTS QuorPlatform_COMPONENTS)
      add_library(QuorPlatform::${component} SHARED IMPORTED)
      set_target_properties(QuorPlatform::${component} PROPERTIES
        IMPORTED_LOCATION ${QuorPlatform_${component}_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${QuorPlatform_${component}_INCLUDE_DIR})
    endforeach()
    set_property(TARGET QuorPlatform::QuorHelper PROPERTY
      INTERFACE_LINK_LIBRARIES log4cplus::log4cplus Boost::boost)
    set_property(TARGET QuorPlatform::TevValue QuorPlatform::KnxStack PROPERTY
      INTERFACE_LINK_LIBRARIES QuorPlatform::QuorHelper)
  endif()
endif()
