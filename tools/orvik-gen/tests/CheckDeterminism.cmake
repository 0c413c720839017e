# Runs orvik-gen twice with one seed and once with another: the first two
# files must be identical, the third must differ, and all must start with
# the ORVIK header. Variables: GENERATOR, EMULATOR (may be empty), WORK_DIR.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(args --components 60 --arcs 90 --polygons 7 --fills 9)
foreach(run IN ITEMS a:5 b:5 c:6)
  string(REPLACE ":" ";" parts "${run}")
  list(GET parts 0 name)
  list(GET parts 1 seed)
  execute_process(COMMAND ${EMULATOR} "${GENERATOR}" --seed ${seed} ${args} -o "${WORK_DIR}/${name}.pcb"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "orvik-gen run ${name} failed: ${rc}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/a.pcb" "${WORK_DIR}/b.pcb" RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "the same seed gave different files")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK_DIR}/a.pcb" "${WORK_DIR}/c.pcb" RESULT_VARIABLE same)
if(same EQUAL 0)
  message(FATAL_ERROR "different seeds gave the same file")
endif()
# The header line "ORVIK ASCII PCB GENERATED" ends in CR LF.
file(READ "${WORK_DIR}/a.pcb" head LIMIT 27 HEX)
if(NOT head MATCHES "^4f5256494b.*0d0a$")
  message(FATAL_ERROR "unexpected file start: ${head}")
endif()
