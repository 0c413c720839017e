# Rebuilds Kovlan's import library for 32-bit Windows. The DLL exports
# undecorated __stdcall names (--kill-at); callers that link against it
# reference the decorated names (Name@N). The linker's .def lists both
# ("Name = Name@N @ordinal"); dlltool -k turns the decorated list into an
# import library that binds Name@N to the export Name.
#   -DDLLTOOL= -DDEF= -DDLL_NAME= -DIMPLIB=
file(STRINGS "${DEF}" lines)
set(out "EXPORTS\n")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*([A-Za-z_0-9]+) = ([A-Za-z_0-9]+@[0-9]+)")
    string(APPEND out "    ${CMAKE_MATCH_2}\n")
  elseif(line MATCHES "^[ \t]*([A-Za-z_0-9]+)( @[0-9]+)?( DATA)?[ \t]*$" AND NOT line MATCHES "EXPORTS")
    string(APPEND out "    ${CMAKE_MATCH_1}${CMAKE_MATCH_3}\n")
  endif()
endforeach()
set(decorated "${DEF}.decorated")
file(WRITE "${decorated}" "${out}")
execute_process(COMMAND "${DLLTOOL}" -k -d "${decorated}" -D "${DLL_NAME}" -l "${IMPLIB}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dlltool failed (${rc})")
endif()
