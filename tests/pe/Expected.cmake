# What the Windows files must carry, for the checks of tests/pe: the
# variables ORVIK_PE_64BIT (1 for the 64-bit build), ORVIK_PE_VERSION,
# ORVIK_PE_PRODUCT_NAME and ORVIK_PE_COPYRIGHT as compile definitions of
# `target`. The project sets them; tests/pe/native takes them as cache
# variables.
set(ORVIK_PE_EXPECTED_VARIABLES ORVIK_PE_64BIT ORVIK_PE_VERSION ORVIK_PE_PRODUCT_NAME ORVIK_PE_COPYRIGHT)
function(orvik_pe_expected target)
  target_compile_definitions(${target} PRIVATE ORVIK_PE_64BIT=${ORVIK_PE_64BIT} ORVIK_PE_VERSION="${ORVIK_PE_VERSION}"
                                               ORVIK_PE_PRODUCT_NAME="${ORVIK_PE_PRODUCT_NAME}"
                                               ORVIK_PE_COPYRIGHT="${ORVIK_PE_COPYRIGHT}")
endfunction()
