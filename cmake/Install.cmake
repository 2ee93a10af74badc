# Installation: libraries with their SONAME links, headers, the CMake package
# (find_package(QuorObjectModel) -> Quor::ObjectModel), a pkg-config file and Debian packages.
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libquorobjectmodel)
set(CPACK_PACKAGE_VENDOR "Quor")
set(CPACK_PACKAGE_CONTACT "Quor developers <dev@quor.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "KNX object-model library for the app host")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libquorobjectmodel1)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libquorobjectmodel-dev)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "libquorobjectmodel1 (= ${PROJECT_VERSION}), libboost-thread-dev, libboost-system-dev, libboost-chrono-dev, libboost-timer-dev, libboost-date-time-dev, libboost-filesystem-dev, liblog4cplus-dev, libutfcpp-dev")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
