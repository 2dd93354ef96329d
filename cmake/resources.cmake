# The program's resource ids (res/resource.h, which takes the framework's
# standard ids) for the code that names them.
add_library(resource_ids INTERFACE)
target_include_directories(resource_ids INTERFACE ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(resource_ids INTERFACE framework)

# Compiles the program's resource script into a target. windres finds the
# icon, bitmap and manifest named in the script, and the framework's standard
# ids, through the include path; the version block takes the project's
# version, and a debug build marks it as such.
function(brikfall_add_resources target)
  set(res ${PROJECT_SOURCE_DIR}/res)
  target_sources(${target} PRIVATE ${res}/brikfall_sdi.rc)
  target_link_libraries(${target} PRIVATE resource_ids)
  set(version BRIKFALL_VERSION=${PROJECT_VERSION}
    BRIKFALL_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} BRIKFALL_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    BRIKFALL_VERSION_PATCH=${PROJECT_VERSION_PATCH} BRIKFALL_VERSION_TWEAK=${PROJECT_VERSION_TWEAK})
  target_compile_definitions(${target} PRIVATE $<$<CONFIG:Debug>:_DEBUG>
    "$<$<COMPILE_LANGUAGE:RC>:${version}>")
  set_source_files_properties(${res}/brikfall_sdi.rc PROPERTIES OBJECT_DEPENDS
    "${res}/resource.h;${PROJECT_SOURCE_DIR}/framework/include/framework/standard_ids.h;${res}/brikfall_sdi.manifest;${res}/brikfall_sdi.ico;${res}/toolbar.bmp")
endfunction()
