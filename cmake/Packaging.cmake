# The release files of this build (packaging/): the portable zip and the per-user installer,
# named after the project's version, made with the rest of the build, and beside them the
# program's debug information (Windows.cmake); scripts/package.sh gathers both builds' into dist/.
# The install test installs them under Wine, in a fresh prefix.
# The version is the project's; the program's own title says it too, and must agree.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/res/oktalon.rc OKTALON_TITLE REGEX "^ *AFX_IDS_APP_TITLE ")
if(NOT OKTALON_TITLE MATCHES "\"Oktalon ${PROJECT_VERSION} ")
  message(FATAL_ERROR "res/oktalon.rc: the program's title (${OKTALON_TITLE}) does not name version ${PROJECT_VERSION}")
endif()

find_program(OKTALON_MAKENSIS makensis REQUIRED)
find_program(OKTALON_ZIP zip REQUIRED)
set(OKTALON_RELEASE_NAME oktalon-${PROJECT_VERSION}-${OKTALON_RELEASE_ARCH})
set(OKTALON_RELEASE_ZIP ${CMAKE_BINARY_DIR}/dist/${OKTALON_RELEASE_NAME}.zip)
set(OKTALON_RELEASE_SETUP ${CMAKE_BINARY_DIR}/dist/${OKTALON_RELEASE_NAME}-setup.exe)
get_filename_component(OKTALON_DEBUG_NAME ${OKTALON_DEBUG_FILE} NAME)
set(OKTALON_RELEASE_DEBUG ${CMAKE_BINARY_DIR}/dist/${OKTALON_DEBUG_NAME})
set(OKTALON_PACKAGING_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
add_custom_command(
  OUTPUT ${OKTALON_RELEASE_ZIP} ${OKTALON_RELEASE_SETUP} ${OKTALON_RELEASE_DEBUG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy ${OKTALON_DEBUG_FILE} ${OKTALON_RELEASE_DEBUG}
  COMMAND bash ${OKTALON_PACKAGING_DIR}/pack.sh ${OKTALON_RELEASE_ARCH} ${PROJECT_VERSION} $<TARGET_FILE:oktalon>
          ${OKTALON_RELEASE_ZIP} ${OKTALON_RELEASE_SETUP}
  DEPENDS oktalon ${OKTALON_PACKAGING_DIR}/pack.sh ${OKTALON_PACKAGING_DIR}/oktalon.nsi
          ${OKTALON_PACKAGING_DIR}/CTIMNE.txt ${CMAKE_CURRENT_SOURCE_DIR}/res/oktalon.ico
  COMMENT "Packaging ${OKTALON_RELEASE_NAME}: the zip, the installer and the debug file"
  VERBATIM)
add_custom_target(oktalon_release ALL DEPENDS ${OKTALON_RELEASE_ZIP} ${OKTALON_RELEASE_SETUP} ${OKTALON_RELEASE_DEBUG})
