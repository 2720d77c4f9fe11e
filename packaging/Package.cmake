# The Debian package, made from the install rules: `cpack -G DEB` in the
# build folder. Its dependencies are Debian 12's packages of what the program
# loads: the Qt libraries, the platform plugins (which the linker does not
# name), SQLite, and the font that the report files' Helvetica
# is drawn with (without it, a wider font cuts the printed forms' labels).
set(CPACK_PACKAGE_NAME tessary)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessary")
set(CPACK_PACKAGE_CONTACT "Tessary maintainers <maintainers@tessary.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Stock requests of hospital departments")
set(CPACK_PACKAGE_DESCRIPTION
    "The desktop client with which the staff of a hospital department request\nstock from a store or another department, and supervisors verify the\nrequests. It works on a database file of its own or on a PostgreSQL or\nSQL Server database shared by the hospital's workstations.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libsqlite3-0 (>= 3.35), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6sql6 (>= 6.4), qt6-qpa-plugins (>= 6.4), fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql, libqt6sql6-odbc, odbc-postgresql, tdsodbc")
include(CPack)
