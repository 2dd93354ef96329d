# Link options of a shipped Windows program: entry point wWinMain, one
# self-contained file that needs only the system's DLLs, no symbols.
function(brikfall_program_options target)
  target_link_options(${target} PRIVATE -municode -static -s)
endfunction()
