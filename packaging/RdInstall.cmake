# The installed layout and the Debian package. The program finds its window
# module, the companion program, the help page and the license beside its own
# executable (through /proc/self/exe, which resolves links), so all of them
# share one private folder and bin/ holds only relative links into it:
#
#   bin/RavelleDiff              -> ../lib/ravellediff/RavelleDiff
#   bin/ravelle_diff_tool        -> ../lib/ravellediff/ravelle_diff_tool
#   lib/ravellediff/             RavelleDiff, libRavelleDiffGui.so, ravelle_diff_tool,
#                                RavelleDiff.html and LICENSE (links into share/ravellediff)
#   share/ravellediff/           RavelleDiff.html, LICENSE
#   share/applications/ravellediff.desktop
#   share/icons/hicolor/scalable/apps/ravellediff.svg
#   share/doc/ravellediff/       copyright, changelog.Debian.gz
#   share/man/man1/              RavelleDiff.1.gz, ravelle_diff_tool.1.gz
#
# Included from the top-level CMakeLists.txt after every target exists.

include(GNUInstallDirs)

# Fixed rather than CMAKE_INSTALL_LIBDIR: a private folder, not a library
# folder (Debian's multiarch lib/x86_64-linux-gnu is for shared libraries).
set(RD_INSTALL_PROGRAM_DIR "lib/ravellediff" CACHE STRING "Private folder of the program, below the prefix")
set(RD_INSTALL_DATA_DIR "${CMAKE_INSTALL_DATADIR}/ravellediff")
# Named after the package, not the project (GNUInstallDirs' DOCDIR would be
# share/doc/RavelleDiff).
set(RD_INSTALL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/ravellediff")
set(RD_PACKAGE_MAINTAINER "RavelleDiff developers <ravellediff@example.org>" CACHE STRING
    "Maintainer of the Debian package and author of its changelog entry")
# Date of the changelog entry: the day this packaging last changed, kept
# fixed so that two builds of one version give the same package.
set(RD_PACKAGE_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
# The Debian revision of the package; "-1" also makes lintian expect the
# changelog under the name changelog.Debian.gz.
set(RD_DEB_RELEASE 1)
set(RD_DEB_VERSION "${PROJECT_VERSION}-${RD_DEB_RELEASE}")

# Files get their modes from here; folders get 0777 less the umask, which
# is why "make install" and "make deb" run under umask 022.
set(rd_data_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# --- the program folder -------------------------------------------------------
set(rd_programs RavelleDiff ravelle_diff_tool)
install(TARGETS ${rd_programs} RUNTIME DESTINATION ${RD_INSTALL_PROGRAM_DIR})
if(TARGET RavelleDiffGui)
  # A module is loaded, never run: no execute bit.
  install(TARGETS RavelleDiffGui LIBRARY DESTINATION ${RD_INSTALL_PROGRAM_DIR} PERMISSIONS ${rd_data_permissions})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/doc/RavelleDiff.html ${PROJECT_SOURCE_DIR}/doc/LICENSE
        DESTINATION ${RD_INSTALL_DATA_DIR} PERMISSIONS ${rd_data_permissions})

# Relative links, so that the tree works under any prefix and DESTDIR. They
# are made here in the build folder and install(FILES) installs them as links.
set(rd_pack_dir ${CMAKE_BINARY_DIR}/packaging)
# rd_install_links(FOLDER TARGET_FOLDER NAME...): FOLDER/NAME -> TARGET_FOLDER/NAME.
function(rd_install_links folder target_folder)
  file(RELATIVE_PATH relative "/${folder}" "/${target_folder}")
  string(MAKE_C_IDENTIFIER "${folder}" stage)
  set(links)
  foreach(name IN LISTS ARGN)
    set(link ${rd_pack_dir}/links/${stage}/${name})
    file(MAKE_DIRECTORY ${rd_pack_dir}/links/${stage})
    file(CREATE_LINK "${relative}/${name}" ${link} SYMBOLIC)
    list(APPEND links ${link})
  endforeach()
  install(FILES ${links} DESTINATION ${folder})
endfunction()

rd_install_links(${RD_INSTALL_PROGRAM_DIR} ${RD_INSTALL_DATA_DIR} RavelleDiff.html LICENSE)
rd_install_links(${CMAKE_INSTALL_BINDIR} ${RD_INSTALL_PROGRAM_DIR} ${rd_programs})

# --- desktop integration ------------------------------------------------------
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ravellediff.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications PERMISSIONS ${rd_data_permissions})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ravellediff.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps PERMISSIONS ${rd_data_permissions})

# --- documentation: manual pages, copyright and changelog ----------------------
# rd_gzip_file(NAME): ${rd_pack_dir}/NAME.gz from ${rd_pack_dir}/NAME, built
# with everything. gzip -n leaves out name and time, so the bytes depend on
# the text alone; -9 is what Debian expects of manual pages and changelogs.
set(rd_gzip_targets)
function(rd_gzip_file name)
  add_custom_command(OUTPUT ${rd_pack_dir}/${name}.gz
                     COMMAND gzip -9nc ${name} > ${name}.gz
                     DEPENDS ${rd_pack_dir}/${name}
                     WORKING_DIRECTORY ${rd_pack_dir} VERBATIM)
  set(rd_gzip_targets ${rd_gzip_targets} ${rd_pack_dir}/${name}.gz PARENT_SCOPE)
endfunction()

foreach(page RavelleDiff.1 ravelle_diff_tool.1)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${page}.in ${rd_pack_dir}/${page} @ONLY)
  rd_gzip_file(${page})
  install(FILES ${rd_pack_dir}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 PERMISSIONS ${rd_data_permissions})
endforeach()

# The copyright file in the machine-readable format, its license text taken
# from doc/LICENSE (continuation lines start with a blank, empty ones are " .").
file(READ ${PROJECT_SOURCE_DIR}/doc/LICENSE rd_license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" rd_ignored "${rd_license}")
set(RD_COPYRIGHT_HOLDER "${CMAKE_MATCH_1}")
if(NOT RD_COPYRIGHT_HOLDER OR NOT rd_license MATCHES "Permission is hereby granted")
  message(FATAL_ERROR "doc/LICENSE no longer reads as the MIT license: update packaging/copyright.in")
endif()
string(REGEX REPLACE "^.*(Permission is hereby granted)" "\\1" rd_license "${rd_license}")
string(STRIP "${rd_license}" rd_license)
string(REPLACE "\n\n" "\n.\n" rd_license "${rd_license}")
string(REPLACE "\n" "\n " RD_LICENSE_TEXT " ${rd_license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${rd_pack_dir}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in ${rd_pack_dir}/changelog.Debian @ONLY)
rd_gzip_file(changelog.Debian)
install(FILES ${rd_pack_dir}/copyright ${rd_pack_dir}/changelog.Debian.gz
        DESTINATION ${RD_INSTALL_DOC_DIR} PERMISSIONS ${rd_data_permissions})
add_custom_target(rd_packaging_docs ALL DEPENDS ${rd_gzip_targets})

# --- the Debian package (cpack -G DEB, see "make deb") ------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravellediff)
set(CPACK_PACKAGE_VENDOR "RavelleDiff developers")
set(CPACK_PACKAGE_CONTACT "${RD_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "line-by-line comparison of two texts (Japanese interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "RavelleDiff compares two texts line by line and shows added, changed and
moved lines in colour in two panes side by side, with a map of all
differences beside them. Texts may be Shift_JIS, EUC-JP or UTF-8. It can
also write a report without any window, check many pairs of files in one
run and export the differences to a workbook. The user interface is in
Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${RD_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# --- the test of the installed tree -------------------------------------------
# Installs into a temporary folder and runs the program from there; only where
# the windows are built (the sanitizer build has no module to install).
if(TARGET RavelleDiffGui)
  add_test(NAME install_tree COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/install_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_tree PROPERTIES SKIP_RETURN_CODE 77)
endif()
