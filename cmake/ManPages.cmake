# Man pages of the native programs, made at build time by help2man from the
# programs' own --help and --version, so that nothing is written twice. Not
# in cross builds, whose programs do not run here.
#
#   orvik_man_page(TARGET target NAME "what it is" SEE_ALSO page...)
#
# writes ${PROJECT_BINARY_DIR}/man/<program>.1.gz (compressed as Debian
# wants it, without a name or time stamp) and adds it to ORVIK_MAN_PAGES.
find_program(ORVIK_HELP2MAN help2man REQUIRED)
find_program(ORVIK_GZIP gzip REQUIRED)
set(ORVIK_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(ORVIK_MAN_PAGES)

function(orvik_man_page)
  cmake_parse_arguments(PARSE_ARGV 0 M "" "TARGET;NAME" "SEE_ALSO")
  set(page ${ORVIK_MAN_DIR}/${M_TARGET}.1)
  # The sections --help cannot give: the licence and the other pages.
  list(TRANSFORM M_SEE_ALSO APPEND "(1)")
  list(JOIN M_SEE_ALSO ", " ORVIK_MAN_SEE_ALSO)
  set(include ${ORVIK_MAN_DIR}/${M_TARGET}.h2m)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/install/man.h2m.in ${include} @ONLY)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${ORVIK_HELP2MAN} --no-info --section 1 --name ${M_NAME} --include ${include} --output ${page}
            $<TARGET_FILE:${M_TARGET}>
    COMMAND ${ORVIK_GZIP} -9nf ${page}
    DEPENDS ${M_TARGET} ${include}
    COMMENT "Writing the man page ${M_TARGET}.1"
    VERBATIM)
  set(ORVIK_MAN_PAGES ${ORVIK_MAN_PAGES} ${page}.gz PARENT_SCOPE)
endfunction()
