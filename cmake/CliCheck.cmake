# orvik_cli_check(TEST_NAME PROGRAM target EXIT code [STDOUT regex...] [STDERR regex] [FILES file...]
#                 [WORKING_DIRECTORY dir] ARGS arg...)
# A test that runs the program (under the emulator when cross compiling) and
# checks its exit code and output with CheckRun.cmake: every STDOUT
# expression must match, STDERR "^$" means nothing on stderr, FILES must be
# written and not empty.
function(orvik_cli_check name)
  cmake_parse_arguments(PARSE_ARGV 1 C "" "PROGRAM;EXIT;STDERR;WORKING_DIRECTORY" "STDOUT;FILES;ARGS")
  list(JOIN C_ARGS "|" args)
  list(JOIN C_FILES "|" files)
  list(JOIN C_STDOUT "@@" stdout)
  if(NOT C_WORKING_DIRECTORY)
    set(C_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} "-DPROGRAM=$<TARGET_FILE:${C_PROGRAM}>"
                   "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" "-DARGS=${args}" "-DEXPECT_EXIT=${C_EXIT}"
                   "-DEXPECT_STDOUT=${stdout}" "-DEXPECT_STDERR=${C_STDERR}" "-DEXPECT_FILES=${files}"
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckRun.cmake
           WORKING_DIRECTORY ${C_WORKING_DIRECTORY})
endfunction()
