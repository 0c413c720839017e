# Imports a board through orvik-host (under EMULATOR when set), has it write
# one output file (OPTION: --json for the board dump, --kicad for the KiCad
# board) and compares that file byte for byte with the golden file GOLDEN;
# with UPDATE=ON it writes the file to GOLDEN instead. The board is the file
# BOARD, or, when GENERATOR is set, the board orvik-gen writes with
# GENERATOR_ARGS ("|"-separated; under EMULATOR too).
# Variables: HOST, EMULATOR ("|"-separated, may be empty), BOARD or
# GENERATOR and GENERATOR_ARGS, OPTION, GOLDEN, WORK_DIR, UPDATE.
# Files are named relative to WORK_DIR, which suits Wine as well.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(ENV{WINEDEBUG} "-all")
if(GENERATOR)
  string(REPLACE "|" ";" _args "${GENERATOR_ARGS}")
  execute_process(COMMAND ${EMULATOR} "${GENERATOR}" ${_args} -o board.pcb WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE _exit ERROR_VARIABLE _err)
  if(NOT _exit EQUAL 0)
    message(FATAL_ERROR "orvik-gen failed (${_exit}): ${_err}")
  endif()
else()
  file(COPY_FILE "${BOARD}" "${WORK_DIR}/board.pcb")
endif()
execute_process(COMMAND ${EMULATOR} "${HOST}" import board.pcb ${OPTION} board.out --no-progress
                WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE _exit OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
if(NOT _exit EQUAL 0)
  message(FATAL_ERROR "orvik-host import failed (${_exit})\n${_out}${_err}")
endif()
if(UPDATE)
  file(COPY_FILE "${WORK_DIR}/board.out" "${GOLDEN}")
  message(STATUS "wrote ${GOLDEN}")
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/board.out" "${GOLDEN}" RESULT_VARIABLE _same)
if(NOT _same EQUAL 0)
  message(FATAL_ERROR "the ${OPTION} output ${WORK_DIR}/board.out differs from ${GOLDEN}")
endif()
