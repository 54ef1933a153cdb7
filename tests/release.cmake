# The release check installs this build into a throw-away prefix and inspects what a package
# would ship, then builds the package and runs lintian on it; it needs the built binary, so it
# runs from the test command after the build.
if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/release-check.sh)
    message(FATAL_ERROR "ReleaseCheck is listed, but tests/release-check.sh is missing")
endif()
add_test(NAME ReleaseCheck
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release-check.sh
                 ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
                 ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR} ${PROJECT_VERSION}
                 ${CMAKE_INSTALL_MANDIR})
