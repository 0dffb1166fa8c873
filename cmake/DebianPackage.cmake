# SPDX-License-Identifier: GPL-3.0-or-later
# Debian packages through CPack, one per install component:
#   orgalink      the command line, its tables, manual page, documents and
#                 completions
#   orgalink-gui  the dialog program and its desktop files, on top of it
# `tools/bootstrap package` configures a Release build with the distribution's
# hardening flags and runs cpack; see there.

set(ORGALINK_MAINTAINER "orgalink maintainers <orgalink@example.org>"
    CACHE STRING "Maintainer named in the Debian packages")
set(ORGALINK_DEBIAN_RELEASE 1 CACHE STRING "Debian revision of the packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orgalink)
set(CPACK_PACKAGE_VENDOR "orgalink")
set(CPACK_PACKAGE_CONTACT ${ORGALINK_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL orgalink)
if(ORGALINK_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL orgalink-gui)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORGALINK_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORGALINK_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SOURCE orgalink)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the dialog
# program asks for exactly the command line of its own version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_ORGALINK-GUI_DEPENDS orgalink)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_ORGALINK_PACKAGE_NAME orgalink)
set(CPACK_DEBIAN_ORGALINK_DESCRIPTION
    "back up and restore a Brelan Pellico organizer over a serial cable
orgalink backs up and restores a Brelan Pellico or Pellico-M handheld
organizer over a serial cable. A backup fetches every application
(Telephone, Schedule, Anniversary, To Do, Memo, the expense categories and
Expense) into one .bkf archive; a restore empties the organizer and sends an
archive back. Every communication can be recorded byte for byte in a
plain-text log.

This package holds the command-line program with its character tables, a
simulated organizer for trying it without hardware, the documents of its JSON
output and export format, and its bash, zsh and fish completions.")

set(CPACK_DEBIAN_ORGALINK-GUI_PACKAGE_NAME orgalink-gui)
set(CPACK_DEBIAN_ORGALINK-GUI_DESCRIPTION
    "back up and restore a Brelan Pellico organizer, in a window
orgalink-gui is the dialog program of orgalink: the backup and restore of a
Brelan Pellico or Pellico-M handheld organizer over a serial cable in one
small window, with the serial port chosen by hand or found by Auto Detect,
and a progress dialog with an Abort button for each communication.")

include(CPack)
