# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it:
# marlix_<version>_amd64.deb with the three programs, the controller word list, the desktop entry,
# the icon and the manual pages. Its dependencies are read from the shared libraries the programs
# link (dpkg-shlibdeps), plus the Qt plugin package that draws the program's SVG icons.
include(GNUInstallDirs)

install(TARGETS marlix marlix-send marlix-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# marlix looks for it beside itself first (the build tree), then in ../share/marlix.
install(FILES $<TARGET_FILE_DIR:marlix>/KXWords.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/marlix)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/marlix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/marlix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages carry the project's version and are installed compressed, as Debian keeps them.
set(marlix_man_pages)
foreach(page marlix-send marlix-emulator)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
        COMMAND gzip -9 -n -f -k ${page}.1
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man
        DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1)
    list(APPEND marlix_man_pages ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${marlix_man_pages})
install(FILES ${marlix_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME marlix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Marlix)
set(CPACK_PACKAGE_CONTACT "Marlix developers <marlix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop front end for a serial-attached robot-arm controller")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Marlix shows the controller's KAVENTRIX console, sends command lines and source\n"
    "files line by line, reads and moves the arm, keeps places and routes as projects\n"
    "mirrored in the controller's RUN-LIST memory, runs macros and moves raw memory\n"
    "blocks. marlix-send drives a running Marlix from scripts; marlix-emulator plays\n"
    "the controller on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
include(CPack)

# The test command builds the package and checks its contents.
add_test(NAME debian_package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check-package.sh ${CMAKE_BINARY_DIR})
set_tests_properties(debian_package PROPERTIES LABELS package TIMEOUT 300)
