# What `cmake --install` puts in place, and the Debian package that `cpack -G DEB` makes of it.
include(GNUInstallDirs)

install(TARGETS kvl-sim kvl-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KVL_BUILD_APP)
  install(TARGETS kvl-editor kvl-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(CPACK_PACKAGE_NAME kvl-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Команда розробників редактора сіток Петрі")
set(CPACK_PACKAGE_CONTACT "Команда розробників редактора сіток Петрі <kvl-editor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Редактор і симулятор часових стохастичних сіток Петрі")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Малювання сіток Петрі з часовими та стохастичними переходами, їх імітація в реальному "
    "часі та на інтервалі, статистика й графіки, експерименти з незалежних прогонів; "
    "kvl-sim, kvl-render і kvl-convert (обмін сітками у форматі PNML) для роботи без вікна.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries the programs link (Qt 6, the C++ runtime) become dependencies through
# dpkg-shlibdeps; the rest are what the programs load or need at run time without linking it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The MIME and menu databases are refreshed by the triggers of shared-mime-info and
# desktop-file-utils, so that a double click on a net opens the editor.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, fonts-liberation2, fonts-dejavu-core, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils, hicolor-icon-theme")
include(CPack)
