# The Windows program's resources, made at build time from the same SVG sources as the Linux
# build's: the pages' pictures as PNG files and the icon at 16, 32, 48 and 256 pixels
# (rsvg-convert draws, ImageMagick packs, optipng shrinks the PNGs), with the manifest and the
# version in one .rc compiled by windres into the object library brimwell_win_resources.
find_program(BRIMWELL_RSVG_CONVERT rsvg-convert)
find_program(BRIMWELL_IM_CONVERT convert)
find_program(BRIMWELL_OPTIPNG optipng)
if(NOT BRIMWELL_RSVG_CONVERT OR NOT BRIMWELL_IM_CONVERT OR NOT BRIMWELL_OPTIPNG)
    message(FATAL_ERROR "rsvg-convert (librsvg2-bin), convert (imagemagick) and optipng draw "
                        "the Windows program's pictures and icon: install them")
endif()

set(res_src ${PROJECT_SOURCE_DIR}/resources)
set(res_out ${CMAKE_BINARY_DIR}/resources/win)
file(MAKE_DIRECTORY ${res_out})

# The pictures, on a white ground like the Linux build's, at their own size and at twice it
# (<name>@2x.png, resource id plus 1000) for screens above 96 DPI. Kept as PNG (RCDATA
# resources; the window decodes each with WIC when it first shows it) rather than as bitmaps,
# a tenth of the bytes. Each is written flattened on white, as 8-bit RGB without alpha, so that
# it decodes to the very pixels drawn, and with none of the optional chunks, whose dates would
# make every build's bytes differ; optipng then tries row filters and zlib settings and keeps
# the smallest file (for this flat artwork, rows without a filter: about 13 % smaller than
# ImageMagick's), without changing a pixel or adding a chunk.
set(win_pictures)
foreach(picture "welcome;611;543" "banner;580;200")
    list(GET picture 0 name)
    list(GET picture 1 width)
    list(GET picture 2 height)
    foreach(ratio 1 2)
        if(ratio EQUAL 1)
            set(file ${name})
        else()
            set(file ${name}@${ratio}x)
        endif()
        math(EXPR ratio_width "${width} * ${ratio}")
        math(EXPR ratio_height "${height} * ${ratio}")
        set(drawn ${res_out}/${file}-drawn.png)
        set(png ${res_out}/${file}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${BRIMWELL_RSVG_CONVERT} -w ${ratio_width} -h ${ratio_height} -b white
                    -o ${drawn} ${res_src}/pictures/${name}.svg
            COMMAND ${BRIMWELL_IM_CONVERT} ${drawn} -background white -alpha remove -alpha off
                    -define png:compression-level=9 -define png:exclude-chunk=all PNG24:${png}
            COMMAND ${BRIMWELL_OPTIPNG} -quiet -o2 -strip all ${png}
            DEPENDS ${res_src}/pictures/${name}.svg
            COMMENT "Drawing ${file}.png (${ratio_width} x ${ratio_height})" VERBATIM)
        list(APPEND win_pictures ${png})
    endforeach()
endforeach()

# The icon; the installer takes it from this path too.
set(BRIMWELL_WIN_ICO ${CMAKE_BINARY_DIR}/resources/brimwell.ico)
set(icon_pngs)
set(icon_commands)
foreach(size 16 32 48 256)
    list(APPEND icon_pngs ${res_out}/icon-${size}.png)
    list(APPEND icon_commands COMMAND ${BRIMWELL_RSVG_CONVERT} -w ${size} -h ${size}
         -o ${res_out}/icon-${size}.png ${res_src}/icons/brimwell.svg)
endforeach()
add_custom_command(OUTPUT ${BRIMWELL_WIN_ICO}
    ${icon_commands}
    COMMAND ${BRIMWELL_IM_CONVERT} ${icon_pngs} ${BRIMWELL_WIN_ICO}
    DEPENDS ${res_src}/icons/brimwell.svg
    COMMENT "Drawing brimwell.ico (16, 32, 48, 256)" VERBATIM)
add_custom_target(brimwell_win_pictures DEPENDS ${win_pictures} ${BRIMWELL_WIN_ICO})

set(BRIMWELL_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(BRIMWELL_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(BRIMWELL_MANIFEST ${res_out}/brimwell.manifest)
set(BRIMWELL_WELCOME_PNG ${res_out}/welcome.png)
set(BRIMWELL_BANNER_PNG ${res_out}/banner.png)
set(BRIMWELL_WELCOME_2X_PNG ${res_out}/welcome@2x.png)
set(BRIMWELL_BANNER_2X_PNG ${res_out}/banner@2x.png)
configure_file(${res_src}/win/brimwell.manifest.in ${BRIMWELL_MANIFEST} @ONLY)
configure_file(${res_src}/win/brimwell.rc.in ${res_out}/brimwell.rc @ONLY)
set_source_files_properties(${res_out}/brimwell.rc PROPERTIES
    OBJECT_DEPENDS "${win_pictures};${BRIMWELL_WIN_ICO};${BRIMWELL_MANIFEST}")

add_library(brimwell_win_resources OBJECT ${res_out}/brimwell.rc)
add_dependencies(brimwell_win_resources brimwell_win_pictures)
