# The API reference: Doxygen over the public headers (the very files that are installed) with
# the users' guide (Doc/Guide.md) as its main page. Any warning fails the build (Doc/Doxyfile).
# Installed as the "doc" component.
find_package(Doxygen REQUIRED doxygen)
set(QUOR_DOC_DIR ${PROJECT_BINARY_DIR}/docs)
# The platform headers the API's signatures use, as the platform contract the library relies
# on: the stand-ins' (an external platform's headers are the vendor's, so they are left out).
set(QUOR_DOC_PLATFORM_HEADERS "")
if(QUOR_PLATFORM STREQUAL "bundled")
  set(QUOR_DOC_PLATFORM_HEADERS TevValue/TevValue.h KnxStack/GroupValue.h KnxStack/KnxDpt.h
      Brask/DeviceStackClient.h QuorHelper/TimeOfDay.h QuorHelper/Utf8String.h
      QuorHelper/Logging.h QuorHelper/Assert.h)
  list(TRANSFORM QUOR_DOC_PLATFORM_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/Platform/)
endif()
set(docInput ${QUOR_PUBLIC_HELPER_HEADERS} ${QUOR_PUBLIC_HEADERS} ${QUOR_DOC_PLATFORM_HEADERS}
    ${PROJECT_SOURCE_DIR}/TestKit/QuorSim/SimulatedDeviceStack.h
    ${PROJECT_SOURCE_DIR}/TestKit/QuorSim/SimulatedRequestEngine.h
    ${PROJECT_BINARY_DIR}/generated/QuorObjectModel/Version.h ${PROJECT_SOURCE_DIR}/Doc/Groups.dox
    ${PROJECT_SOURCE_DIR}/Doc/Guide.md)
list(JOIN docInput " " docInputText)
add_custom_command(OUTPUT ${QUOR_DOC_DIR}/html/index.html
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${QUOR_DOC_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QUOR_DOC_VERSION=${PROJECT_VERSION} QUOR_DOC_OUTPUT=${QUOR_DOC_DIR}
          "QUOR_DOC_INPUT=${docInputText}" QUOR_DOC_MAINPAGE=${PROJECT_SOURCE_DIR}/Doc/Guide.md
          "QUOR_DOC_STRIP=${PROJECT_SOURCE_DIR}/Include ${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/Platform ${PROJECT_SOURCE_DIR}/TestKit ${PROJECT_SOURCE_DIR}"
          ${DOXYGEN_EXECUTABLE} ${PROJECT_SOURCE_DIR}/Doc/Doxyfile
  DEPENDS ${docInput} ${PROJECT_SOURCE_DIR}/Doc/Doxyfile
  COMMENT "API reference (Doxygen)"
  VERBATIM)
add_custom_target(quor-docs ALL DEPENDS ${QUOR_DOC_DIR}/html/index.html)
install(DIRECTORY ${QUOR_DOC_DIR}/html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libquorobjectmodel
  COMPONENT doc)
