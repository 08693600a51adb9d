# The Windows packages, built by the target package_windows from the same staged folder:
# - ${CMAKE_BINARY_DIR}/Quillon-<version>-win64.zip: quillon.exe, the command
#   quillon-cli.exe and every data file beside them, ready to unpack and run;
# - ${CMAKE_BINARY_DIR}/Quillon-<version>-win64-setup.exe: the installer (installer.nsi),
#   when makensis is found (apt-get install nsis).
set(QUILLON_PACKAGE_NAME Quillon-${PROJECT_VERSION}-win64)
set(QUILLON_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package/${QUILLON_PACKAGE_NAME})
set(QUILLON_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/${QUILLON_PACKAGE_NAME}.zip)
set(QUILLON_PACKAGE_SETUP ${CMAKE_BINARY_DIR}/${QUILLON_PACKAGE_NAME}-setup.exe)
set(QUILLON_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package/files)

# The installer compiler runs on the build machine, also in a cross build.
find_program(QUILLON_MAKENSIS makensis NO_CMAKE_FIND_ROOT_PATH)
set(installer_commands "")
if(QUILLON_MAKENSIS)
  # Warnings are errors here too.
  set(installer_commands
    COMMAND ${QUILLON_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${QUILLON_PACKAGE_STAGE} -DFILES=${QUILLON_PACKAGE_FILES}
            -DOUTFILE=${QUILLON_PACKAGE_SETUP} ${CMAKE_CURRENT_SOURCE_DIR}/installer.nsi)
else()
  message(STATUS "makensis not found: the Windows installer is not built (apt-get install nsis)")
endif()

add_custom_target(package_windows
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUILLON_PACKAGE_STAGE} ${QUILLON_PACKAGE_ZIP}
          ${QUILLON_PACKAGE_SETUP}
  COMMAND ${CMAKE_COMMAND}
          -DSTAGE=${QUILLON_PACKAGE_STAGE}
          -DDATA=${CMAKE_BINARY_DIR}/data
          -DGUI=$<TARGET_FILE:quillon_gui>
          -DCLI=$<TARGET_FILE:quillon>
          -DFILES=${QUILLON_PACKAGE_FILES}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/stage_package.cmake
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${QUILLON_PACKAGE_ZIP} --format=zip ${QUILLON_PACKAGE_NAME}
  ${installer_commands}
  DEPENDS quillon_gui quillon quillon_data
  COMMENT "Packing ${QUILLON_PACKAGE_NAME}.zip and the installer"
  VERBATIM)
