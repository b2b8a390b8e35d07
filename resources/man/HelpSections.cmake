# Turns the headings of brimwell-cli's --help that help2man keeps as subsections into the
# manual's own sections: "Commands:" into COMMANDS, "Exit status:" into EXIT STATUS.
# Usage: cmake -DINPUT=raw.1 -DOUTPUT=brimwell-cli.1 -P HelpSections.cmake
file(READ "${INPUT}" page)
foreach(pair "Commands:|COMMANDS" "Exit status:|\"EXIT STATUS\"")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 heading)
    list(GET pair 1 section)
    string(FIND "${page}" ".SS \"${heading}\"" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${INPUT}: --help has no '${heading}' heading any more")
    endif()
    string(REPLACE ".SS \"${heading}\"" ".SH ${section}" page "${page}")
endforeach()
file(WRITE "${OUTPUT}" "${page}")
