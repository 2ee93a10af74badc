# Installation: libraries with their SONAME links, headers, the CMake package
# (find_package(QuorObjectModel) -> Quor::ObjectModel) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(QUOR_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QuorObjectModel)
set_target_properties(quorobjectmodel PROPERTIES EXPORT_NAME ObjectModel)

install(TARGETS quorobjectmodel quorhelper tevvalue knxstack braskdsc
  EXPORT QuorObjectModelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/Include/Quor
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor COMPONENT dev FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/QuorObjectModel
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor COMPONENT dev FILES_MATCHING PATTERN "*.h")
foreach(platformLib QuorHelper TevValue KnxStack Brask)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/Platform/${platformLib}
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quor/platform COMPONENT dev FILES_MATCHING PATTERN "*.h")
endforeach()

install(EXPORT QuorObjectModelTargets NAMESPACE Quor:: DESTINATION ${QUOR_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorObjectModelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorObjectModelConfig.cmake INSTALL_DESTINATION ${QUOR_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorObjectModelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorObjectModelConfig.cmake
              ${PROJECT_BINARY_DIR}/QuorObjectModelConfigVersion.cmake
  DESTINATION ${QUOR_CMAKE_DIR} COMPONENT dev)

file(RELATIVE_PATH QUOR_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" QUOR_PC_TO_PREFIX "${QUOR_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quorobjectmodel.pc.in
  ${PROJECT_BINARY_DIR}/quorobjectmodel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quorobjectmodel.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
