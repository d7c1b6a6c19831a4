# Installing Zorbi for every user of the computer: the program folder under
# lib/zorbi, the two programs on the PATH, a desktop entry for each and their
# icons in the icon theme; and a Debian package of the same through CPack.

set(ZORBI_INSTALL_DIR lib/zorbi)

# The program folder of an install is not the build's: its empty data file is
# made fresh (never one a developer has used) and kept in rollback-journal mode,
# which every user can read in a folder none of them may write.
set(ZORBI_INSTALL_FILES_DIR ${CMAKE_BINARY_DIR}/for-install)
add_custom_command(OUTPUT ${ZORBI_INSTALL_FILES_DIR}/Zorbi.sys ${ZORBI_INSTALL_FILES_DIR}/Zorbi.dat
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZORBI_INSTALL_FILES_DIR}
  COMMAND zorbi_make_files --for-all-users ${ZORBI_INSTALL_FILES_DIR}
  DEPENDS zorbi_make_files
  COMMENT "Writing the database files of an install")
add_custom_target(zorbi_install_files ALL
  DEPENDS ${ZORBI_INSTALL_FILES_DIR}/Zorbi.sys ${ZORBI_INSTALL_FILES_DIR}/Zorbi.dat)

install(TARGETS Zorbi Zorbi_Reminder RUNTIME DESTINATION ${ZORBI_INSTALL_DIR})
install(FILES ${ZORBI_INSTALL_FILES_DIR}/Zorbi.sys ${ZORBI_INSTALL_FILES_DIR}/Zorbi.dat
  ${CMAKE_SOURCE_DIR}/data/Default.gif ${CMAKE_SOURCE_DIR}/data/License.rtf
  DESTINATION ${ZORBI_INSTALL_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help/ DESTINATION ${ZORBI_INSTALL_DIR}/Help)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/samples/ DESTINATION ${ZORBI_INSTALL_DIR}/Samples)

# Each program's icon, as the program shows it, under its theme name.
foreach(icon IN ITEMS "zorbi;g0" "zorbi-reminder;tray/g0")
  list(GET icon 0 name)
  list(GET icon 1 folder)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${folder}/1.png DESTINATION ${ZORBI_INSTALL_DIR}/icons
    RENAME ${name}.png)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${folder}/1.png DESTINATION share/icons/hicolor/32x32/apps
    RENAME ${name}.png)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${folder}/1-16.png DESTINATION share/icons/hicolor/16x16/apps
    RENAME ${name}.png)
endforeach()

# The links on the PATH and the desktop entries name the folder the install
# lands in, which is known only when it runs (cmake --install --prefix, or the
# package's /usr).
install(CODE "set(ZORBI_INSTALL_DIR \"${ZORBI_INSTALL_DIR}\")
set(ZORBI_DESKTOP_DIR \"${CMAKE_SOURCE_DIR}/data/desktop\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallLinks.cmake)

# The package's papers: the copyright and, compressed as Debian keeps it, the changelog.
configure_file(${CMAKE_SOURCE_DIR}/data/desktop/changelog.in ${ZORBI_INSTALL_FILES_DIR}-doc/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${ZORBI_INSTALL_FILES_DIR}-doc/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nf -k ${ZORBI_INSTALL_FILES_DIR}-doc/changelog
  DEPENDS ${ZORBI_INSTALL_FILES_DIR}-doc/changelog)
add_custom_target(zorbi_install_doc ALL DEPENDS ${ZORBI_INSTALL_FILES_DIR}-doc/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/copyright ${ZORBI_INSTALL_FILES_DIR}-doc/changelog.gz
  DESTINATION share/doc/zorbi)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorbi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Zorbi developers <zorbi@zorbi.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household records about its pets")
set(CPACK_PACKAGE_DESCRIPTION "Zorbi keeps a household's records about its pets: details, notes,
vaccinations and medications, diary, commands and belongings, with an address
book, a photo gallery, a month calendar of events with reminders, and
printouts. The reminder program tells of due events and expiring vaccinations.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs load at run time rather than link: the engine's Qt driver
# (the X11 display plugin comes with Qt GUI, the Wayland one is a choice).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
