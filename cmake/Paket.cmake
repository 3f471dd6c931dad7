# Installation and the Debian package (cpack -G DEB).
#   cmake --install build            programs, desktop entries, icon, README
#   cd build && cpack -G DEB         talu_<version>-1_<arch>.deb
# The program targets are installed by src/CMakeLists.txt; the benchmarks and
# the tests are not installed.
include(GNUInstallDirs)

set(TALU_PAKET_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)

# One desktop entry per edition; all three share the icon.
install(FILES
  ${TALU_PAKET_DIR}/talu.desktop
  ${TALU_PAKET_DIR}/talu-intern.desktop
  ${TALU_PAKET_DIR}/talu-erfassung.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TALU_PAKET_DIR}/talu.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(groesse 48 256)
  install(FILES ${TALU_PAKET_DIR}/talu-${groesse}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${groesse}x${groesse}/apps RENAME talu.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talu)

# --- CPack: one Debian package "talu" ---
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talu)
set(CPACK_PACKAGE_VENDOR WQN)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The synopsis line of the package; CPACK_DEBIAN_PACKAGE_DESCRIPTION below is the text under it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "land value lookup and database client (Bodenrichtwert-Auskunft)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A package is stripped as Debian's are; the build tree keeps its debug information.
set(CPACK_STRIP_FILES ON)

set(TALU_PAKET_BETREUER "TALU-Entwicklung <talu@example.org>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TALU_PAKET_BETREUER}")
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The extended description: English first, then German, as Debian packages
# that carry a translation in the package itself do.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"TALU is a desktop client for a database of standard land values and place
data: it finds places, shows the land values of the plots of a street, place
information and market overviews, and bills every chargeable display in a
query log. It works on SQLite files, PostgreSQL and Microsoft SQL Server (ODBC).
Three editions: talu (customer edition), talu-intern (internal edition with
billing and maintenance) and talu-erfassung (data entry), plus the
command-line tools talu-db, talu-pflege and talu-abrechnung.

TALU ist ein Desktop-Client für eine Bodenrichtwert- und Standortdatenbank:
Orte suchen, Bodenrichtwerte der Grundstücke einer Straße, Ortsinformationen
und Marktübersichten anzeigen; jede kostenpflichtige Anzeige schreibt eine
Zeile ins Abfrageprotokoll. Drei Ausgaben: talu (Kundenausgabe), talu-intern
(interne Ausgabe mit Rechnungswesen und Pflege) und talu-erfassung
(Erfassung), dazu die Kommandozeilenwerkzeuge talu-db, talu-pflege und
talu-abrechnung.")

# What the programs load at run time and so no linker sees: Qt's database
# drivers (SQLite, PostgreSQL, ODBC) and FreeTDS, the ODBC driver the server
# field "HOST[,PORT]" names; Qt's German texts; the fonts of the print-outs
# ("Courier New" and "Arial" are Liberation Mono and Sans, DejaVu the
# fallback of the lists).
set(TALU_PAKET_LAUFZEIT
  libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc tdsodbc
  qt6-translations-l10n fonts-liberation fonts-dejavu-core)
# The linked libraries: dpkg-shlibdeps finds them with their least versions;
# without it (no dpkg-dev) they are named here.
find_program(TALU_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TALU_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  list(PREPEND TALU_PAKET_LAUFZEIT
    libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libpq5 libsqlite3-0)
endif()
list(JOIN TALU_PAKET_LAUFZEIT ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

include(CPack)
