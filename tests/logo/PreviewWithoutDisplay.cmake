# Runs brimwell-cli preview with no display and no Qt platform chosen, and checks that the PNG
# is a 610 x 380 picture. Arguments: CLI, IDENTIFY, INPUT, OUTPUT.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM ${CLI} preview ${INPUT} --rotate --png ${OUTPUT}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "brimwell-cli preview failed (${rc}): ${err}")
endif()
execute_process(COMMAND ${IDENTIFY} -format "%m %wx%h" ${OUTPUT} RESULT_VARIABLE rc
                OUTPUT_VARIABLE id ERROR_VARIABLE err)
file(REMOVE ${OUTPUT})
if(NOT rc EQUAL 0 OR NOT id STREQUAL "PNG 610x380")
    message(FATAL_ERROR "identify said '${id}' (${rc}) ${err}, expected 'PNG 610x380'")
endif()
