# Lays out the Windows package in STAGE: the two programs, and the data files of the
# build folder DATA beside them (without a ReferenceLinks.xml that a trial run left).
# With -DFILES=base, also writes base_install.nsh and base_uninstall.nsh for the installer.
foreach(variable STAGE DATA GUI CLI)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "stage_package.cmake needs -D${variable}=...")
  endif()
endforeach()
if(NOT EXISTS ${DATA}/SourceTree_Template.htm)
  message(FATAL_ERROR "no data files in ${DATA}")
endif()
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${GUI} ${CLI} DESTINATION ${STAGE})
# The data folder of the build is also CMake's folder for data/: its files stay out.
file(COPY ${DATA}/ DESTINATION ${STAGE}
     PATTERN "CMakeFiles" EXCLUDE
     PATTERN "Makefile" EXCLUDE
     PATTERN "*.cmake" EXCLUDE
     PATTERN "ReferenceLinks.xml" EXCLUDE
     PATTERN "*.tmp*" EXCLUDE)

# For the installer: the staged files as the lines that install them and the lines that
# take them away again, folders last.
if(DEFINED FILES)
  file(GLOB_RECURSE staged RELATIVE ${STAGE} ${STAGE}/*)
  list(SORT staged)
  set(install_lines "")
  set(uninstall_lines "")
  set(folders "")
  set(current_folder "-")
  foreach(path IN LISTS staged)
    get_filename_component(folder ${path} DIRECTORY)
    string(REPLACE "/" "\\" windows_path "${path}")
    if(NOT folder STREQUAL current_folder)
      string(REPLACE "/" "\\" windows_folder "\\${folder}")
      if(NOT folder)
        set(windows_folder "")
      endif()
      string(APPEND install_lines "SetOutPath \"$INSTDIR${windows_folder}\"\n")
      set(current_folder "${folder}")
      if(folder)
        list(PREPEND folders "$INSTDIR${windows_folder}")
      endif()
    endif()
    string(APPEND install_lines "File \"${STAGE}/${path}\"\n")
    string(APPEND uninstall_lines "Delete \"$INSTDIR\\${windows_path}\"\n")
  endforeach()
  foreach(folder IN LISTS folders)
    string(APPEND uninstall_lines "RMDir \"${folder}\"\n")
  endforeach()
  file(WRITE ${FILES}_install.nsh "${install_lines}")
  file(WRITE ${FILES}_uninstall.nsh "${uninstall_lines}")
endif()
