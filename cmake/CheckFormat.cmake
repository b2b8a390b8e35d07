# Fails when a C++ source of the project is not formatted as .clang-format says.
# The walk does not follow symbolic links: a Wine prefix in build-windows/ links its drive Z:
# to the root of the file system.
cmake_policy(SET CMP0009 NEW)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(bad "")
foreach(f IN LISTS sources)
    if(f MATCHES "^build" OR f MATCHES "^out/")
        continue()
    endif()
    execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${SOURCE_DIR}/${f}
        RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    if(NOT rc EQUAL 0)
        list(APPEND bad ${f})
    endif()
endforeach()
if(bad)
    message(FATAL_ERROR "Not clang-format clean: ${bad}")
endif()
