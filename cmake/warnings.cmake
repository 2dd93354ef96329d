# Stricter warnings, errors like the rest, for the sources of one target.
# The Windows headers' macros set none of them off (their casts stand in
# system headers), so the Win32 layers take them all too.
set(BRIKFALL_STRICT_WARNINGS
    -Wconversion -Wsign-conversion -Wold-style-cast -Wcast-qual -Wnull-dereference -Wformat=2
    $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>)

function(brikfall_strict_warnings target)
  target_compile_options(${target} PRIVATE ${BRIKFALL_STRICT_WARNINGS})
endfunction()
