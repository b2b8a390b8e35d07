# Runs brimwell-cli preview (under EMULATOR when given) on a logo and on a file that does not
# load, in the current folder, and checks each PNG's signature and size (610 x 380) and the
# status: 0, and 3 with the status message drawn. Arguments: CLI, EMULATOR, INPUT.
file(COPY ${INPUT} DESTINATION .)
get_filename_component(logo ${INPUT} NAME)
foreach(case "${logo};0" "missing.bmp;3")
    list(GET case 0 input)
    list(GET case 1 status)
    file(REMOVE preview-check.png)
    execute_process(COMMAND ${EMULATOR} ${CLI} preview ${input} --rotate --png preview-check.png
                    RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL status)
        message(FATAL_ERROR "preview ${input}: status ${rc}, expected ${status}: ${err}")
    endif()
    if(NOT EXISTS preview-check.png)
        message(FATAL_ERROR "preview ${input}: no PNG written: ${err}")
    endif()
    # The signature, then the IHDR chunk: length, type, width and height, big-endian.
    file(READ preview-check.png head LIMIT 24 HEX)
    file(REMOVE preview-check.png)
    if(NOT head STREQUAL "89504e470d0a1a0a0000000d49484452000002620000017c")
        message(FATAL_ERROR "preview ${input}: not a 610 x 380 PNG: ${head}")
    endif()
endforeach()
