# Installation and the Debian package.
#
# The program looks for "Korvana.ini" in the directory of its executable
# (resolved through /proc/self/exe, so links do not change it). The programs
# therefore live in a directory of their own under the install prefix
# (default /opt/saldex-export/bin, where the administrator puts Korvana.ini),
# and links in ${SALDEX_SYSTEM_PREFIX}/bin put them on the PATH. The desktop
# entry, the icon, the manual pages and the documentation go below
# SALDEX_SYSTEM_PREFIX, where desktop menus and man look for them.

# The prefix defaults to /opt/saldex-export, also in a build tree configured
# before this file existed (whose cache holds CMake's own default).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR
   (NOT SALDEX_INSTALL_PREFIX_CHOSEN AND CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
  set(CMAKE_INSTALL_PREFIX "/opt/saldex-export" CACHE PATH "Install prefix" FORCE)
endif()
set(SALDEX_INSTALL_PREFIX_CHOSEN ON CACHE INTERNAL "")
set(SALDEX_SYSTEM_PREFIX "/usr" CACHE PATH "Prefix of the links, menu entry, icon and manual pages")

set(saldex_programs saldex-export dbftool saldex-demo-data)
if(NOT TARGET saldex-export)
  list(REMOVE_ITEM saldex_programs saldex-export)
endif()
install(TARGETS ${saldex_programs} RUNTIME DESTINATION bin COMPONENT program)

# Links on the PATH, made in the staging directory when one is used.
foreach(program IN LISTS saldex_programs)
  install(CODE "
    set(link \"\$ENV{DESTDIR}${SALDEX_SYSTEM_PREFIX}/bin/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${SALDEX_SYSTEM_PREFIX}/bin\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"\${CMAKE_INSTALL_PREFIX}/bin/${program}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Link: \${link}\")" COMPONENT program)
endforeach()

# Manual pages, compressed reproducibly as Debian expects.
set(saldex_man_pages)
foreach(page saldex-export.1 dbftool.1)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/man/${page} > ${gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page} VERBATIM)
  list(APPEND saldex_man_pages ${gz})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${saldex_man_pages})
install(FILES ${saldex_man_pages} DESTINATION ${SALDEX_SYSTEM_PREFIX}/share/man/man1 COMPONENT program)

install(FILES packaging/saldex-export.desktop
        DESTINATION ${SALDEX_SYSTEM_PREFIX}/share/applications COMPONENT program)
install(FILES packaging/saldex-export.svg
        DESTINATION ${SALDEX_SYSTEM_PREFIX}/share/icons/hicolor/scalable/apps COMPONENT program)
install(FILES packaging/Korvana.ini.example packaging/copyright README.md
        DESTINATION ${SALDEX_SYSTEM_PREFIX}/share/doc/saldex-export COMPONENT program)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME saldex-export)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Saldex export module")
set(CPACK_PACKAGE_CONTACT "Saldex export module maintainers <saldex-export@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Export of store invoices into the Saldex 2 accounting system")
set(CPACK_PACKAGE_DESCRIPTION
    "Desktop export module for Czech stores: lists the invoices of the Korvana point-of-sale\n"
    "system, records payments, prints an invoice overview and exports invoices into the\n"
    "receivables of the Saldex 2 accounting system. Includes dbftool for dBase tables and\n"
    "FoxPro compound indexes, and a demo data generator.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION office)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries through dpkg-shlibdeps; the Qt platform plugins and the
# report's font are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "man-db")
include(CPack)
