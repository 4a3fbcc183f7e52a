# Cross-compiling for Windows with Debian's mingw-w64, for the processor that
# the including toolchain file sets. The posix-threads compiler is the one
# whose libstdc++ has std::thread and friends.
set(CMAKE_SYSTEM_NAME Windows)
set(kavren_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${kavren_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kavren_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${kavren_mingw}-windres)
set(CMAKE_DLLTOOL ${kavren_mingw}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${kavren_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
