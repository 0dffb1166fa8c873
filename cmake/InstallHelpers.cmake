# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules shared by the programs' folders.

# bash-completion's own folder when it lies under the install prefix, so that
# an install into /usr puts the completion where the distribution's loader
# looks; any other prefix (/usr/local, ~/.local) gets the same folder under
# it, which bash-completion also searches (XDG_DATA_DIRS and
# BASH_COMPLETION_USER_DIR).
set(_completions ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_get_variable(_system_completions bash-completion completionsdir)
  if(_system_completions MATCHES "^${CMAKE_INSTALL_PREFIX}/(.+)$")
    set(_completions ${CMAKE_MATCH_1})
  endif()
endif()
set(ORGALINK_BASH_COMPLETION_DIR ${_completions}
    CACHE STRING "Where the bash completion of orgalink is installed (relative: under the prefix)")

# The zsh and fish completions go to the folders those shells search for
# what packages bring (vendor completions), under the install prefix.
function(orgalink_install_shell_completions)
  install(FILES ${PROJECT_SOURCE_DIR}/data/zsh-completion/_orgalink
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT orgalink)
  install(FILES ${PROJECT_SOURCE_DIR}/data/fish-completion/orgalink.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT orgalink)
endfunction()

# Manual pages are installed compressed, as man finds them and Debian wants
# them; -n keeps the name and time out of the file so that a rebuild gives
# the same bytes.
find_program(ORGALINK_GZIP gzip)

# Gzips `source` into build/compressed/<name>.gz at build time and leaves
# that path in `result`; where gzip is missing, `source` itself.
function(orgalink_gzip source name result)
  if(NOT ORGALINK_GZIP)
    set(${result} ${source} PARENT_SCOPE)
    return()
  endif()
  set(copy ${PROJECT_BINARY_DIR}/compressed/${name})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${ORGALINK_GZIP} -9nf ${copy}
    DEPENDS ${source}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${copy}.gz)
  set(${result} ${copy}.gz PARENT_SCOPE)
endfunction()

# Installs man/<page> (such as orgalink.1) into its section with `component`.
function(orgalink_install_man_page page component)
  string(REGEX REPLACE "^.*\\.([0-9])$" "\\1" section ${page})
  orgalink_gzip(${PROJECT_SOURCE_DIR}/man/${page} man/${page} file)
  install(FILES ${file} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT ${component})
endfunction()

# The copyright and changelog files every Debian package carries in
# /usr/share/doc/<package>. They are installed only when the component is
# installed on its own, as the package build does; a plain install leaves
# them out.
function(orgalink_install_debian_docs package)
  string(TIMESTAMP ORGALINK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(changelog ${PROJECT_BINARY_DIR}/debian/${package}/changelog.Debian)
  configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in ${changelog} @ONLY)
  orgalink_gzip(${changelog} ${package}/changelog.Debian compressed)
  install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${compressed}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${package} EXCLUDE_FROM_ALL)
endfunction()
