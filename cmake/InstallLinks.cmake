# Run at install time: the two programs on the PATH, and their desktop entries.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
foreach(program IN ITEMS "zorbi;Zorbi" "zorbi-reminder;Zorbi_Reminder")
  list(GET program 0 name)
  list(GET program 1 file)
  # A relative link, so the installed tree may be moved or packaged as it is.
  file(CREATE_LINK "../${ZORBI_INSTALL_DIR}/${file}" "${root}/bin/${name}" SYMBOLIC)
  message(STATUS "Installing: ${root}/bin/${name}")
  # The entry starts the program by its full path, quoted, so a prefix that is
  # not on the PATH or that holds blanks still serves.
  set(exec "\"${CMAKE_INSTALL_PREFIX}/${ZORBI_INSTALL_DIR}/${file}\"")
  configure_file("${ZORBI_DESKTOP_DIR}/${name}.desktop.in" "${root}/share/applications/${name}.desktop" @ONLY)
  message(STATUS "Installing: ${root}/share/applications/${name}.desktop")
endforeach()
