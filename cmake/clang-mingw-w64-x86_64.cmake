# Cross-compiling the Windows program with clang, linked by lld, on the
# headers, C runtime and GCC C++ library of the installed mingw-w64. Clang
# does not find Debian's mingw-w64 C++ library by itself (its folder is named
# after GCC's thread model), so this file names it. The posix thread model
# also needs winpthreads at the link, which GCC's driver adds by itself and
# clang's does not.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-base.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${BRIKFALL_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${BRIKFALL_MINGW_TRIPLE})

execute_process(COMMAND ${BRIKFALL_MINGW_TRIPLE}-g++-${BRIKFALL_MINGW_THREADS} -print-libgcc-file-name
  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir ${libgcc} DIRECTORY)
set(cxx_headers ${gcc_dir}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${cxx_headers} -isystem ${cxx_headers}/${BRIKFALL_MINGW_TRIPLE} -isystem ${cxx_headers}/backward")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir}")
if(BRIKFALL_MINGW_THREADS STREQUAL posix)
  # lld finds an archive's members wherever the archive stands on the line.
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -lpthread")
endif()
