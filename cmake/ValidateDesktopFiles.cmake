# Installs the desktop files (component "desktop") into a scratch prefix and checks them with
# desktop-file-validate and appstreamcli, the tools software centres and distributions use.
# Prints "SKIPPED" when neither tool is installed.
# Arguments: -DBUILD_DIR=<build tree> -DWORK_DIR=<scratch folder>
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE AND NOT APPSTREAMCLI)
    message("SKIPPED: neither desktop-file-validate nor appstreamcli is installed")
    return()
endif()

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}
                        --component desktop
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installing the desktop files failed")
endif()
file(GLOB desktop_files ${WORK_DIR}/share/applications/*.desktop)
file(GLOB metainfo_files ${WORK_DIR}/share/metainfo/*.metainfo.xml)
file(GLOB png_icons ${WORK_DIR}/share/icons/hicolor/*/apps/brimwell.png)
if(NOT desktop_files OR NOT metainfo_files OR NOT png_icons)
    message(FATAL_ERROR "missing: desktop entry, metainfo or PNG icons under ${WORK_DIR}")
endif()

set(failed "")
macro(check)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(JOIN " " command ${ARGN})
    message("${command}\n${out}")
    if(NOT rc EQUAL 0)
        list(APPEND failed "${ARGV0}")
    endif()
endmacro()
if(DESKTOP_FILE_VALIDATE)
    foreach(f IN LISTS desktop_files)
        check(${DESKTOP_FILE_VALIDATE} ${f})
    endforeach()
endif()
if(APPSTREAMCLI)
    # Every warning fails too; --no-net keeps the screenshot addresses unchecked.
    check(${APPSTREAMCLI} validate --no-net ${metainfo_files})
    check(${APPSTREAMCLI} validate-tree --no-net ${WORK_DIR})
endif()
if(failed)
    message(FATAL_ERROR "validation failed: ${failed}")
endif()
