# Cross-compiles the Windows program (and its tests) with MinGW-w64: the
# 32-bit program that ships, or, where PATHWICK_ARCH says x86_64, the same
# sources for 64-bit Windows (scripts/common.sh picks it on a machine whose
# kernel cannot run 32-bit programs, so that the suite still runs there).
set(CMAKE_SYSTEM_NAME Windows)
if(DEFINED ENV{PATHWICK_ARCH})
  set(_arch $ENV{PATHWICK_ARCH})
else()
  set(_arch i686)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${_arch})
set(_triple ${_arch}-w64-mingw32)

# The posix thread model is the one GoogleTest compiles with (std::mutex).
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
