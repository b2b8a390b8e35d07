# Runs brimwell-cli logo ... --pcx on a BMP and checks that ImageMagick identifies the result as
# a PCX of the same size. Arguments: CLI, IDENTIFY, INPUT, OUTPUT, EXPECTED ("PCX <w>x<h>").
execute_process(COMMAND ${CLI} logo pass ${INPUT} --pcx ${OUTPUT} RESULT_VARIABLE rc
                ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "brimwell-cli failed (${rc}): ${err}")
endif()
execute_process(COMMAND ${IDENTIFY} -format "%m %wx%h" ${OUTPUT} RESULT_VARIABLE rc
                OUTPUT_VARIABLE id ERROR_VARIABLE err)
file(REMOVE ${OUTPUT})
if(NOT rc EQUAL 0 OR NOT id STREQUAL EXPECTED)
    message(FATAL_ERROR "identify said '${id}' (${rc}) ${err}, expected '${EXPECTED}'")
endif()
