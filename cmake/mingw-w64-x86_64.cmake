# Cross-compiling the Windows program with mingw-w64's GCC.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-base.cmake)
set(CMAKE_C_COMPILER ${BRIKFALL_MINGW_TRIPLE}-gcc-${BRIKFALL_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${BRIKFALL_MINGW_TRIPLE}-g++-${BRIKFALL_MINGW_THREADS})
