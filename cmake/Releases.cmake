# Reads packaging/releases.txt, the one place the version and the release notes are written
# (its header says how), before project(). Sets:
#   BRIMWELL_RELEASE_VERSION    the newest entry's version, for project()
#   BRIMWELL_RELEASE_DATE       its release day, YYYY-MM-DD
#   BRIMWELL_METAINFO_RELEASES  the AppStream <release> elements of every entry
# and defines brimwell_write_deb_changelog(OUT MAINTAINER), which writes the Debian changelog
# of every entry. A malformed file stops the configuration, naming the line.

set(brimwell_releases_file ${CMAKE_CURRENT_LIST_DIR}/../packaging/releases.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${brimwell_releases_file})
file(READ ${brimwell_releases_file} brimwell_releases_text)
# The comment lines go (as empty lines, keeping the line numbers); the rest is split in lines.
string(REGEX REPLACE "(^|\n)#[^\n]*" "\\1" brimwell_releases_text "${brimwell_releases_text}")
if(brimwell_releases_text MATCHES "[][;<>&|@\\]")
    message(FATAL_ERROR "${brimwell_releases_file}: the notes may not hold any of ;<>&|@[]\\")
endif()
string(REPLACE "\n" ";" brimwell_releases_lines "${brimwell_releases_text}")

# Entries as parallel lists: versions, dates, and each entry's notes, each note after a "|"
# (no note holds one: it is checked above).
set(BRIMWELL_RELEASE_VERSIONS "")
set(brimwell_release_dates "")
set(brimwell_release_notes "")
set(brimwell_notes "")
set(brimwell_line_no 0)
foreach(line IN LISTS brimwell_releases_lines ITEMS "")
    math(EXPR brimwell_line_no "${brimwell_line_no} + 1")
    if(line MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+) ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
        list(APPEND BRIMWELL_RELEASE_VERSIONS ${CMAKE_MATCH_1})
        list(APPEND brimwell_release_dates ${CMAKE_MATCH_2})
        set(brimwell_notes "")
    elseif(line MATCHES "^- (.+)$" AND BRIMWELL_RELEASE_VERSIONS)
        string(APPEND brimwell_notes "|${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  ([^ ].*)$" AND brimwell_notes)
        string(APPEND brimwell_notes "\n${CMAKE_MATCH_1}")
    elseif(line STREQUAL "")
        if(brimwell_notes)
            list(APPEND brimwell_release_notes "${brimwell_notes}")
            set(brimwell_notes "")
        endif()
    else()
        message(FATAL_ERROR "${brimwell_releases_file}:${brimwell_line_no}: not a release line "
                            "(VERSION YYYY-MM-DD), a note (- ...) or its continuation: ${line}")
    endif()
endforeach()
list(LENGTH BRIMWELL_RELEASE_VERSIONS brimwell_release_count)
list(LENGTH brimwell_release_notes brimwell_notes_count)
if(brimwell_release_count EQUAL 0 OR NOT brimwell_notes_count EQUAL brimwell_release_count)
    message(FATAL_ERROR "${brimwell_releases_file}: every release needs a line "
                        "\"VERSION YYYY-MM-DD\" and at least one note")
endif()
list(GET BRIMWELL_RELEASE_VERSIONS 0 BRIMWELL_RELEASE_VERSION)
list(GET brimwell_release_dates 0 BRIMWELL_RELEASE_DATE)

set(BRIMWELL_METAINFO_RELEASES "")
math(EXPR brimwell_last "${brimwell_release_count} - 1")
foreach(i RANGE ${brimwell_last})
    list(GET BRIMWELL_RELEASE_VERSIONS ${i} version)
    list(GET brimwell_release_dates ${i} date)
    list(GET brimwell_release_notes ${i} notes)
    string(REPLACE "\n" " " notes "${notes}")
    string(REGEX REPLACE "^\\|" "" notes "${notes}")
    string(REPLACE "|" "</li>\n          <li>" notes "${notes}")
    string(APPEND BRIMWELL_METAINFO_RELEASES
        "    <release version=\"${version}\" date=\"${date}\">\n"
        "      <description>\n        <ul>\n          <li>${notes}</li>\n        </ul>\n"
        "      </description>\n    </release>\n")
endforeach()
string(REGEX REPLACE "\n$" "" BRIMWELL_METAINFO_RELEASES "${BRIMWELL_METAINFO_RELEASES}")

# The Debian changelog: an entry per release, dated at midnight UTC of its release day
# (RFC 2822, with the weekday Debian's tools check).
function(brimwell_write_deb_changelog out maintainer)
    set(text "")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4) # Sakamoto's month offsets for the day of the week
    foreach(i RANGE ${brimwell_last})
        list(GET BRIMWELL_RELEASE_VERSIONS ${i} version)
        list(GET brimwell_release_dates ${i} date)
        list(GET brimwell_release_notes ${i} notes)
        string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" _ "${date}")
        set(y ${CMAKE_MATCH_1})
        set(m ${CMAKE_MATCH_2})
        set(d ${CMAKE_MATCH_3})
        math(EXPR mi "${m} - 1")
        list(GET offsets ${mi} offset)
        list(GET months ${mi} month)
        if(m LESS 3)
            math(EXPR y "${y} - 1")
        endif()
        math(EXPR wd "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
        list(GET weekdays ${wd} weekday)
        string(SUBSTRING "${date}" 0 4 year)
        string(SUBSTRING "${date}" 8 2 day)
        string(REGEX REPLACE "^\\|" "" notes "${notes}")
        string(REPLACE "\n" "\n    " notes "${notes}")
        string(REPLACE "|" "\n  * " notes "${notes}")
        string(APPEND text "brimwell (${version}) unstable; urgency=medium\n\n  * ${notes}\n\n"
            " -- ${maintainer}  ${weekday}, ${day} ${month} ${year} 00:00:00 +0000\n")
        if(i LESS brimwell_last)
            string(APPEND text "\n")
        endif()
    endforeach()
    # Written only when it changed, so that a new configuration rebuilds nothing.
    file(WRITE ${out}.new "${text}")
    configure_file(${out}.new ${out} COPYONLY)
endfunction()
