# Installing (cmake --install) and the Debian package (cpack -G DEB).
# Included at the end of the top-level CMakeLists.txt, once every target exists.
# scripts/package builds the package; tests/packaging/check-package checks it.

include(GNUInstallDirs)

# One id for the desktop entry, the icon and the AppStream metainfo.
set(RONDEL_APP_ID io.github.rondelmaker.Rondelmaker)
set(RONDEL_RESOURCES ${PROJECT_SOURCE_DIR}/resources)

set(RONDEL_PROGRAMS rondelmaker)
foreach(program rondelmaker-cli rondelmaker-server)
  if(TARGET ${program})
    list(APPEND RONDEL_PROGRAMS ${program})
  endif()
endforeach()

# The programs link only libraries from the system's library path, so the
# installed executables need no RUNPATH; qt_standard_project_setup() would give
# them $ORIGIN entries, which would make /usr/bin a library search path.
set_target_properties(${RONDEL_PROGRAMS} PROPERTIES INSTALL_RPATH "")
install(TARGETS ${RONDEL_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${RONDEL_RESOURCES}/${RONDEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${RONDEL_RESOURCES}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The metainfo lists every executable the package provides.
set(metainfo_source ${RONDEL_RESOURCES}/${RONDEL_APP_ID}.metainfo.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${metainfo_source})
file(READ ${metainfo_source} metainfo)
foreach(program rondelmaker-server rondelmaker-cli)
  if(TARGET ${program})
    string(REPLACE "<binary>rondelmaker</binary>"
                   "<binary>rondelmaker</binary>\n    <binary>${program}</binary>" metainfo
                   "${metainfo}")
  endif()
endforeach()
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/${RONDEL_APP_ID}.metainfo.xml CONTENT "${metainfo}"
     @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${RONDEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The default start file. An installed program copies it into the user's
# configuration folder on its first run, unless an administrator has placed
# one in /etc/rondelmaker/, which the package leaves to them.
install(FILES ${RONDEL_RESOURCES}/start.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/rondelmaker)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rondelmaker
        RENAME copyright)

# The print service: its API for the laboratory's developers, and its
# systemd unit, installed disabled. The package's postinst makes the system
# user it runs as and its state folder, /var/lib/rondelmaker.
if(TARGET rondelmaker-server)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/api.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rondelmaker)
  install(FILES ${RONDEL_RESOURCES}/rondelmaker-server.service DESTINATION lib/systemd/system)
endif()

# Debian package: rondelmaker_<version>_<arch>.deb
set(RONDEL_PACKAGE_MAINTAINER "Rondelmaker developers <maintainers@rondelmaker.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME rondelmaker)
set(CPACK_PACKAGE_VENDOR "Rondelmaker developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print numbered round labels for sample tube caps")
set(CPACK_PACKAGE_DESCRIPTION
    "Rondelmaker prints 11 mm round labels for the caps of sample tubes on label
sheets of 150 positions (10 by 15), with a Japanese user interface. Each label
carries a line that stays the same across a run (a text or a date stamp) and a
line that changes per sample (a running number, advancing letters or a free
text). A job may start from any free position of a half-used sheet, and the
next job goes on from the next position and the next number. Each job can be
recorded on an A4 page and in an Excel spreadsheet. rondelmaker-cli prints
from scripts, and rondelmaker-server offers an HTTP API to laboratory systems
(its systemd unit is installed disabled).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RONDEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the Qt 6 and CUPS libraries the executables link;
# it cannot see the platform plugins Qt loads at run time, the SQL drivers
# of the registry of issued labels (SQLite on every station, PostgreSQL for
# stations that share one), the font every label is drawn with, nor CUPS's
# library, which is loaded when a print queue is first used.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite, libqt6sql6-psql, fonts-ipafont-gothic, libcups2, passwd")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${RONDEL_RESOURCES}/debian/postinst;${RONDEL_RESOURCES}/debian/prerm;${RONDEL_RESOURCES}/debian/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt's own texts in Japanese (its dialogs' buttons and captions); without
# them they stay in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
