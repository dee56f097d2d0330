# Installs the program with its desktop entry, icon and AppStream data, and describes the Debian
# package that CPack builds from them.
include(GNUInstallDirs)

set(HEXORIN_APP_ID de.hexorin.Hexorin)
set(hexorin_data ${PROJECT_SOURCE_DIR}/data)
install(TARGETS hexorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${hexorin_data}/${HEXORIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${hexorin_data}/${HEXORIN_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${hexorin_data}/${HEXORIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# dpkg-shlibdeps finds the libraries the program links, Qt's desktop platform plugins among them
# (they come with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it cannot see: Qt's German texts and the font are loaded at run time, and the icon goes into
# the hicolor theme.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2, hicolor-icon-theme")
include(CPack)
