# cmake -DTOOL=... [-DTOOL_ARGS=a;b] -DPACKAGE=... -DFILE=... -P validate.cmake
# Runs a validator on an installed file; any complaint fails. Skips when the tool is missing.
find_program(tool ${TOOL})
if(NOT tool)
    message("SKIPPED: ${TOOL} is not installed (Debian package ${PACKAGE}; scripts/setup installs it)")
    return()
endif()
execute_process(COMMAND ${tool} ${TOOL_ARGS} ${FILE}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${TOOL} ${FILE}:\n${out}")
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)(E|W):|error|warning")
    message(FATAL_ERROR "${TOOL} finds fault with ${FILE}")
endif()
