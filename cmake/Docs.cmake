# The API reference: Doxygen over the public headers (the very files that are installed) with
# the README as its main page. Any warning fails the build (Doc/Doxyfile). Installed as the
# "doc" component.
find_package(Doxygen REQUIRED doxygen)
set(QUOR_DOC_DIR ${PROJECT_BINARY_DIR}/docs)
set(docInput ${QUOR_PUBLIC_HELPER_HEADERS} ${QUOR_PUBLIC_HEADERS}
    ${PROJECT_BINARY_DIR}/generated/QuorObjectModel/Version.h ${PROJECT_SOURCE_DIR}/Doc/Groups.dox
    ${PROJECT_SOURCE_DIR}/README.md)
list(JOIN docInput " " docInputText)
add_custom_command(OUTPUT ${QUOR_DOC_DIR}/html/index.html
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${QUOR_DOC_DIR}
  COMMAND ${CMAKE_COMMAND} -E env QUOR_DOC_VERSION=${PROJECT_VERSION} QUOR_DOC_OUTPUT=${QUOR_DOC_DIR}
          "QUOR_DOC_INPUT=${docInputText}" QUOR_DOC_MAINPAGE=${PROJECT_SOURCE_DIR}/README.md
          "QUOR_DOC_STRIP=${PROJECT_SOURCE_DIR}/Include ${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}"
          ${DOXYGEN_EXECUTABLE} ${PROJECT_SOURCE_DIR}/Doc/Doxyfile
  DEPENDS ${docInput} ${PROJECT_SOURCE_DIR}/Doc/Doxyfile
  COMMENT "API reference (Doxygen)"
  VERBATIM)
add_custom_target(quor-docs ALL DEPENDS ${QUOR_DOC_DIR}/html/index.html)
install(DIRECTORY ${QUOR_DOC_DIR}/html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libquorobjectmodel
  COMPONENT doc)
