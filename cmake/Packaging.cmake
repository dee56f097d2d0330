# Installs the program with its desktop entry, icon, AppStream data, manual page, changelog and
# copyright, and describes the Debian package that CPack builds from them.
include(GNUInstallDirs)

set(hexorin_data ${PROJECT_SOURCE_DIR}/data)
install(TARGETS hexorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${hexorin_data}/${HEXORIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(hexorin_icon ${PROJECT_BINARY_DIR}/data/${HEXORIN_APP_ID}.svg)
add_custom_command(OUTPUT ${hexorin_icon}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
                   COMMAND hexorin_icon_svg ${hexorin_icon}
                   DEPENDS hexorin_icon_svg VERBATIM)
add_custom_target(hexorin_icon DEPENDS ${hexorin_icon})
add_dependencies(hexorin hexorin_icon)
install(FILES ${hexorin_icon}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${hexorin_data}/${HEXORIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the changelog go in compressed, as Debian has them: gzip -9n, so that the
# same sources give the same bytes. They are made with the program, so that building the target
# hexorin alone is enough for cpack.
find_program(HEXORIN_GZIP gzip REQUIRED)
set(hexorin_docs ${PROJECT_BINARY_DIR}/docs)
configure_file(${hexorin_data}/hexorin.1.in ${hexorin_docs}/hexorin.1 @ONLY)
configure_file(${hexorin_data}/changelog ${hexorin_docs}/changelog COPYONLY)
foreach(document hexorin.1 changelog)
    add_custom_command(OUTPUT ${hexorin_docs}/${document}.gz
                       COMMAND ${HEXORIN_GZIP} -9nkf ${hexorin_docs}/${document}
                       DEPENDS ${hexorin_docs}/${document} VERBATIM)
endforeach()
add_custom_target(hexorin_docs DEPENDS ${hexorin_docs}/hexorin.1.gz ${hexorin_docs}/changelog.gz)
add_dependencies(hexorin hexorin_docs)
install(FILES ${hexorin_docs}/hexorin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# CMAKE_INSTALL_DOCDIR would be named after the project, "Hexorin"; Debian's is the package's.
install(FILES ${hexorin_docs}/changelog.gz ${hexorin_data}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hexorin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hexorin)
set(CPACK_PACKAGE_VENDOR "Hexorin")
# No contact address and no home page have been named yet; this placeholder claims none.
set(CPACK_PACKAGE_CONTACT "Hexorin developers <hexorin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Watch a backtracking search solve the magic six-pointed star")
# Debian wants the long description in lines of at most 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Hexorin places the numbers 1 to 12 in the fields of a six-pointed star so"
       "that every line of four fields adds up to 26, and shows every step of its"
       "search. Numbers can be forbidden per field; the search can go step by step,"
       "stop at each solution, be interrupted and resumed. German user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps those in /usr/games, and Hexorin solves the puzzle rather than poses
# it.
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# dpkg-shlibdeps finds the libraries the program links, Qt's desktop platform plugins among them
# (they come with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it cannot see: Qt's German texts and the font are loaded at run time, and the icon goes into
# the hicolor theme.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2, hicolor-icon-theme")
# Qt's Wayland platform plugin, where Qt is 6.8 or later (Debian 13): it brings GNOME's title bar
# and centres the boxes on the window there. Qt 6.4's (Debian 12) gives GNOME a plain title bar of
# its own and boxes away from the window, and the program goes through XWayland on GNOME anyway;
# without the plugin Qt takes XWayland on any Wayland desktop by itself.
find_package(Qt6 REQUIRED COMPONENTS Core)
if(Qt6_VERSION VERSION_GREATER_EQUAL 6.8)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
include(CPack)
