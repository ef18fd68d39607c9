# Cross-compiles for Windows with MinGW-w64. PATHWICK_ARCH picks the target:
# i686 (the shipped 32-bit program) or x86_64 (the build the tests run, for
# hosts that cannot execute 32-bit code under Wine).
if(NOT PATHWICK_ARCH)
  set(PATHWICK_ARCH i686)
endif()
set(PATHWICK_ARCH ${PATHWICK_ARCH} CACHE STRING "i686 or x86_64")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PATHWICK_ARCH})
set(_triple ${PATHWICK_ARCH}-w64-mingw32)

# The posix thread model is the one GoogleTest compiles with (std::mutex).
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
