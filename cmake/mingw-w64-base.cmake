# What both Windows toolchains share: the target, the thread model, the
# resource compiler and the installed mingw-w64 as the only place to look for
# the target's headers and libraries. The posix thread model (the default) is
# needed to build GoogleTest; the win32 one builds a program that needs no
# winpthreads.
set(BRIKFALL_MINGW_THREADS posix CACHE STRING "mingw-w64 thread model: posix or win32")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRIKFALL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER ${BRIKFALL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRIKFALL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
