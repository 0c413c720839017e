# Runs PROGRAM (through EMULATOR when set) with ARGS ("|"-separated), which
# must succeed and write OUTPUT, and compares OUTPUT with GOLDEN byte for
# byte.
string(REPLACE "|" ";" _args "${ARGS}")
set(ENV{WINEDEBUG} "-all")
file(REMOVE "${OUTPUT}")
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" ${_args} RESULT_VARIABLE _exit OUTPUT_VARIABLE _out
                ERROR_VARIABLE _err)
if(NOT _exit EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} ${_args}: exit code ${_exit}\n${_out}${_err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUTPUT}" "${GOLDEN}" RESULT_VARIABLE _different)
if(NOT _different EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} differs from ${GOLDEN}")
endif()
