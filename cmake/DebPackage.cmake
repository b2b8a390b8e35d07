# The Debian package: both programs with their desktop integration, the udev rule and the
# package's own documents, made by `cpack -G DEB` from the install rules (scripts/package-deb.sh
# builds it). Dependencies on the runtime libraries are computed by dpkg-shlibdeps; the label
# preview's font is added by hand.

set(BRIMWELL_DEB_MAINTAINER
    "Brimwell maintainers <maintainers@users.noreply.c-seed-356323ed.example>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

# /usr/share/doc/brimwell: the copyright file and a changelog in Debian's format, compressed
# as policy wants, written from packaging/releases.txt (cmake/Releases.cmake).
set(deb_doc_dir ${PROJECT_BINARY_DIR}/packaging/deb)
brimwell_write_deb_changelog(${deb_doc_dir}/changelog "${BRIMWELL_DEB_MAINTAINER}")
find_program(GZIP_EXE gzip)
if(GZIP_EXE)
    add_custom_command(OUTPUT ${deb_doc_dir}/changelog.gz
        COMMAND ${GZIP_EXE} -9nkf ${deb_doc_dir}/changelog
        DEPENDS ${deb_doc_dir}/changelog VERBATIM)
    add_custom_target(brimwell_deb_changelog ALL DEPENDS ${deb_doc_dir}/changelog.gz)
    install(FILES ${deb_doc_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brimwell)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/deb/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brimwell)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimwell)
set(CPACK_PACKAGE_VENDOR QuenmarRuravavereDaz)
set(CPACK_PACKAGE_CONTACT "${BRIMWELL_DEB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "utility for the Brimwell desk label printer")
set(CPACK_PACKAGE_DESCRIPTION
    "Brimwell prepares and maintains the Brimwell desk label printer, the small\n"
    "wax-ribbon USB printer that sits beside a portable appliance tester and\n"
    "prints its pass and fail labels: it finds the printer on USB (directly or\n"
    "through a USB-to-parallel adapter), sets the tester type, loads the pass\n"
    "and fail logos, prints test labels, sets the print density and clock and\n"
    "replaces the printer's label program.\n"
    "\n"
    "The package holds the window (brimwell), the command-line companion\n"
    "(brimwell-cli) and a udev rule that lets the user logged in at the\n"
    "computer send jobs to the printer. When a printer is not found or cannot be\n"
    "used, 'brimwell-cli doctor' tells why and what to do.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Qt's own texts (the message boxes' buttons, the file dialog) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/deb/postinst ${PROJECT_SOURCE_DIR}/packaging/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
# Install rules with an absolute destination (the udev folder named by udev's pkg-config file)
# must land in the package, not on the building machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
