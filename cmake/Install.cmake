# Installation: libraries with their SONAME links, headers, the CMake package
# (find_package(QuorObjectModel) -> Quor::ObjectModel, and the test kit Quor::SimulatedDeviceStack)
# and pkg-config files. With the bundled
# platform our stand-ins are installed and exported with the library; with an external one
# nothing of the platform is installed, and the package finds it again on the consumer's side.
include(CMakePackageConfigHelpers)

set(QUOR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QuorObjectModel)
set_target_properties(quorobjectmodel PROPERTIES EXPORT_NAME ObjectModel)

set(installedTargets quorobjectmodel quorsimulateddsc)
if(QUOR_PLATFORM STREQUAL "bundled")
  list(APPEND installedTargets quorhelper tevvalue knxstack braskdsc)
endif()
install(TARGETS ${installedTargets}
  EXPORT QuorObjectModelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

# The public headers are Include/, and only they: the API and the helpers its inline parts use.
file(GLOB QUOR_PUBLIC_HELPER_HEADERS ${PROJECT_SOURCE_DIR}/Include/Quor/*.h)
file(GLOB QUOR_PUBLIC_HEADERS ${PROJECT_SOURCE_DIR}/Include/QuorObjectModel/*.h)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Include/ ${PROJECT_BINARY_DIR}/generated/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/TestKit/QuorSim
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor COMPONENT dev)
if(QUOR_PLATFORM STREQUAL "bundled")
  foreach(platformLib QuorHelper TevValue KnxStack Brask)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/Platform/${platformLib}
      DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor/platform COMPONENT dev FILES_MATCHING PATTERN "*.h")
  endforeach()
else()
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/FindQuorPlatform.cmake
    DESTINATION ${QUOR_CMAKE_DIR} COMPONENT dev)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/cmake/Findlog4cplus.cmake DESTINATION ${QUOR_CMAKE_DIR}
  COMPONENT dev)

install(EXPORT QuorObjectModelTargets NAMESPACE Quor:: DESTINATION ${QUOR_CMAKE_DIR} COMPONENT dev)
# The platform's link names as this build found them, for the consumer's search.
set(QUOR_PLATFORM_NAMES "")
if(QUOR_PLATFORM STREQUAL "external")
  foreach(component IN LISTS QuorPlatform_COMPONENTS)
    string(APPEND QUOR_PLATFORM_NAMES
      "if(NOT DEFINED QuorPlatform_${component}_NAME)\n"
      "  set(QuorPlatform_${component}_NAME ${QuorPlatform_${component}_NAME})\n"
      "endif()\n")
  endforeach()
endif()
string(REPLACE ";" " " QUOR_BOOST_COMPONENTS_WORDS "${QUOR_BOOST_COMPONENTS}")
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorObjectModelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorObjectModelConfig.cmake INSTALL_DESTINATION ${QUOR_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorObjectModelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorObjectModelConfig.cmake
              ${PROJECT_BINARY_DIR}/QuorObjectModelConfigVersion.cmake
  DESTINATION ${QUOR_CMAKE_DIR} COMPONENT dev)

# The path as seen inside CMAKE_SYSROOT, where pkg-config's PKG_CONFIG_SYSROOT_DIR puts it back.
function(quor_path_in_sysroot variable)
  if(CMAKE_SYSROOT)
    file(RELATIVE_PATH relative "${CMAKE_SYSROOT}" "${${variable}}")
    string(FIND "${relative}/" "../" outside)
    if(NOT outside EQUAL 0)
      set(${variable} "/${relative}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

# pkg-config: our stand-ins sit beside the library; an external platform is named by the
# directories it was found in, as seen inside the sysroot, so PKG_CONFIG_SYSROOT_DIR applies.
if(QUOR_PLATFORM STREQUAL "bundled")
  set(QUOR_PC_PLATFORM_LIBS "-lbraskdsc -lknxstack -ltevvalue -lquorhelper")
  set(QUOR_PC_PLATFORM_CFLAGS "-I\${includedir}/quor/platform")
else()
  set(QUOR_PC_PLATFORM_LIBS "")
  set(QUOR_PC_PLATFORM_CFLAGS "")
  foreach(dir IN LISTS QuorPlatform_LIBRARY_DIRS)
    quor_path_in_sysroot(dir)
    string(APPEND QUOR_PC_PLATFORM_LIBS "-L${dir} ")
  endforeach()
  foreach(component Brask KnxStack TevValue QuorHelper)
    string(APPEND QUOR_PC_PLATFORM_LIBS "-l${QuorPlatform_${component}_NAME} ")
  endforeach()
  foreach(dir IN LISTS QuorPlatform_INCLUDE_DIRS)
    quor_path_in_sysroot(dir)
    string(APPEND QUOR_PC_PLATFORM_CFLAGS "-I${dir} ")
  endforeach()
  string(STRIP "${QUOR_PC_PLATFORM_LIBS}" QUOR_PC_PLATFORM_LIBS)
  string(STRIP "${QUOR_PC_PLATFORM_CFLAGS}" QUOR_PC_PLATFORM_CFLAGS)
endif()
list(TRANSFORM QUOR_BOOST_COMPONENTS PREPEND -lboost_ OUTPUT_VARIABLE boostLibs)
string(REPLACE ";" " " QUOR_PC_BOOST_LIBS "${boostLibs}")
file(RELATIVE_PATH QUOR_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" QUOR_PC_TO_PREFIX "${QUOR_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorobjectmodel.pc.in
  ${PROJECT_BINARY_DIR}/quorobjectmodel.pc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorsimulateddsc.pc.in
  ${PROJECT_BINARY_DIR}/quorsimulateddsc.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quorobjectmodel.pc ${PROJECT_BINARY_DIR}/quorsimulateddsc.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
