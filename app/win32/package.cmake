# The Windows package: a ZIP holding quillon.exe, the command quillon-cli.exe and every
# data file beside them, ready to unpack and run. Built by the target package_windows
# into ${CMAKE_BINARY_DIR}/Quillon-<version>-win64.zip.
set(QUILLON_PACKAGE_NAME Quillon-${PROJECT_VERSION}-win64)
set(QUILLON_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package/${QUILLON_PACKAGE_NAME})
set(QUILLON_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${QUILLON_PACKAGE_NAME}.zip)

add_custom_target(package_windows
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUILLON_PACKAGE_STAGE} ${QUILLON_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND}
          -DSTAGE=${QUILLON_PACKAGE_STAGE}
          -DDATA=${CMAKE_BINARY_DIR}/data
          -DGUI=$<TARGET_FILE:quillon_gui>
          -DCLI=$<TARGET_FILE:quillon>
          -P ${CMAKE_CURRENT_SOURCE_DIR}/stage_package.cmake
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${QUILLON_PACKAGE_ZIP} --format=zip ${QUILLON_PACKAGE_NAME}
  DEPENDS quillon_gui quillon quillon_data
  COMMENT "Packing ${QUILLON_PACKAGE_NAME}.zip"
  VERBATIM)
