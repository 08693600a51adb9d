# Lays out the Windows package in STAGE: the two programs, and the data files of the
# build folder DATA beside them (without a ReferenceLinks.xml that a trial run left).
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
