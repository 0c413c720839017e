# orvik_def_exports(TARGET DEF_FILE): a Windows library's exports and
# ordinals from a module definition file that names the 32-bit __stdcall
# symbols (Name@N). x64 has no such decoration, so the 64-bit build takes the
# same list with the plain names.
function(orvik_def_exports target def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(READ ${def} exports)
    string(REGEX REPLACE " = [A-Za-z_0-9]+@[0-9]+" "" exports "${exports}")
    get_filename_component(name ${def} NAME)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name})
    file(CONFIGURE OUTPUT ${def} CONTENT "${exports}" @ONLY)
  endif()
  target_sources(${target} PRIVATE ${def})
endfunction()
