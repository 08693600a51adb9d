# Cross build for 64-bit Windows with MinGW-w64 (POSIX thread model, for std::thread).
# Test programs run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

find_program(QUILLON_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(QUILLON_MINGW_CC x86_64-w64-mingw32-gcc-posix)
find_program(QUILLON_MINGW_WINDRES x86_64-w64-mingw32-windres)
if(NOT QUILLON_MINGW_CXX OR NOT QUILLON_MINGW_CC OR NOT QUILLON_MINGW_WINDRES)
  message(FATAL_ERROR "MinGW-w64 not found: apt-get install g++-mingw-w64-x86-64")
endif()
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_CXX})
set(CMAKE_C_COMPILER ${QUILLON_MINGW_CC})
set(CMAKE_RC_COMPILER ${QUILLON_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(QUILLON_WINE wine)
if(QUILLON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLON_WINE})
endif()
