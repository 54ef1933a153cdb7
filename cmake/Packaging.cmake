# Desktop integration and the Debian package.
# Installs the desktop entry, the .tvr MIME type, the AppStream metainfo, the icons, the manual
# page and the package documentation (copyright, changelog) next to the binary (which src/app
# installs), and configures CPack so `cpack -G DEB` in a build directory produces
# tolvane_<version>_<arch>.deb. tests/release-check.sh checks the installed result and runs lintian
# on the package, so a file added or renamed here must be added or renamed there too.

set(TOLVANE_APP_ID "io.github.tolvane.Tolvane")

# Resolve every symbol at start-up so the whole relocation table can be made read-only (full
# RELRO), as Debian links its own programs. A link flag only: it changes no code, so it cannot
# disturb the sanitizer or fuzz builds.
target_link_options(tolvane PRIVATE "LINKER:-z,relro" "LINKER:-z,now")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/tolvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tolvane-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME tolvane.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/metainfo/${TOLVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tolvane-32.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME tolvane.png)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/tolvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian wants the changelog and the manual page compressed at the highest level and without the
# name and time stamp gzip would otherwise store (-n), so the package is the same on every build.
find_program(TOLVANE_GZIP gzip REQUIRED)
set(TOLVANE_COMPRESSED_DIR ${PROJECT_BINARY_DIR}/packaging)
set(TOLVANE_COMPRESSED_FILES)
foreach(name changelog tolvane.1)
    add_custom_command(
        OUTPUT ${TOLVANE_COMPRESSED_DIR}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/${name}
                ${TOLVANE_COMPRESSED_DIR}/${name}
        COMMAND ${TOLVANE_GZIP} -9nf ${TOLVANE_COMPRESSED_DIR}/${name}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${name}
        COMMENT "Compressing packaging/${name}"
        VERBATIM)
    list(APPEND TOLVANE_COMPRESSED_FILES ${TOLVANE_COMPRESSED_DIR}/${name}.gz)
endforeach()
add_custom_target(tolvane_compressed_docs ALL DEPENDS ${TOLVANE_COMPRESSED_FILES})

install(FILES ${TOLVANE_COMPRESSED_DIR}/tolvane.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The package's own name, not CMAKE_INSTALL_DOCDIR (share/doc/Tolvane): Debian looks for the
# copyright and the changelog under the name of the binary package.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${TOLVANE_COMPRESSED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane)

set(TOLVANE_PACKAGE_MAINTAINER "Tolvane maintainers <maintainers@tolvane.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tolvane")
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TOLVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "merge patch entries between two TAVRO patch sets")
# One string, not a list: CPack would join list items with semicolons. Lines stay under 80
# columns because dpkg shows them as they are.
set(CPACK_PACKAGE_DESCRIPTION "\
Tolvane shows two patch sets (.tvr files) side by side, SRC on the left and
DEST on the right. It copies the selected SRC entries into DEST, asking before
an entry of the same name is overwritten, deletes and reorders entries, starts
a new DEST set and saves the DEST set as a patch set file. It reads and writes
patch sets; it never applies a patch itself.")
# A packaged binary carries no symbols; the build directory keeps the unstripped one.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME "tolvane")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOLVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Named even when dpkg-shlibdeps runs: the platform plugin and the window font are loaded at run
# time, so no library scan can find them, and the Qt floor documents what we build against.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6dbus6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
qt6-qpa-plugins, fonts-wine")
find_program(TOLVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TOLVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
