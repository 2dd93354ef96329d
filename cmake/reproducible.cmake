# A Windows build's output depends on the commit alone. The program's source
# paths (__FILE__ in the invariant and trace reports) are relative to the
# repository, such as model/blockary.cpp, and the PE header's time stamp is
# the commit's time: SOURCE_DATE_EPOCH when it is set, else the time of the
# checked-out commit, read again whenever HEAD moves.
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(brikfall_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} RESULT_VARIABLE git_failed
    OUTPUT_VARIABLE brikfall_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND git rev-parse --absolute-git-dir
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(git_failed OR NOT brikfall_epoch MATCHES "^[0-9]+$")
    # No history to take a time from: a fixed one.
    set(brikfall_epoch 0)
  elseif(EXISTS ${git_dir}/logs/HEAD)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${git_dir}/logs/HEAD)
  endif()
endif()

# GNU ld takes the time from the environment, lld from an option.
if(CMAKE_CXX_COMPILER_ID STREQUAL Clang)
  add_link_options(-Wl,--Xlink=-timestamp:${brikfall_epoch})
else()
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${brikfall_epoch})
endif()
