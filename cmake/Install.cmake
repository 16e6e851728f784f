# What `cmake --install` (make install) and the Debian package put in place.
# Paths follow GNUInstallDirs; the package build sets CMAKE_INSTALL_BINDIR to
# "games", where Debian keeps games.
include(GNUInstallDirs)

set(VERLOMBA_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/verlomba)
set(VERLOMBA_ICONDIR ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
set(VERLOMBA_ICON_SIZES 16 32 48 64 128 256)

configure_file(data/verlomba.metainfo.xml.in ${GENERATED_DIR}/${VERLOMBA_APP_ID}.metainfo.xml @ONLY)
configure_file(data/verlomba.6.in ${GENERATED_DIR}/verlomba.6 @ONLY)
add_custom_command(OUTPUT ${GENERATED_DIR}/verlomba.6.gz
  COMMAND gzip -9n -c verlomba.6 > verlomba.6.gz
  DEPENDS ${GENERATED_DIR}/verlomba.6
  WORKING_DIRECTORY ${GENERATED_DIR}
  VERBATIM)
add_custom_target(verlomba_man ALL DEPENDS ${GENERATED_DIR}/verlomba.6.gz)

install(TARGETS verlomba RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry starts the binary by its full path, since the session's
# PATH may lack the install's bin directory (~/.local/bin, say). The prefix is
# known only at install time (make install PREFIX=... overrides the one
# configured), so the entry is written then.
install(CODE "
  set(VERLOMBA_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/verlomba\")
  set(VERLOMBA_APP_ID ${VERLOMBA_APP_ID})
  configure_file(\"${PROJECT_SOURCE_DIR}/data/verlomba.desktop.in\"
                 \"${CMAKE_BINARY_DIR}/install/${VERLOMBA_APP_ID}.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/install/${VERLOMBA_APP_ID}.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATAROOTDIR}/applications\")
")
install(FILES ${GENERATED_DIR}/${VERLOMBA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# PNGs rendered from the SVG by make icons.
install(FILES data/verlomba.svg RENAME ${VERLOMBA_APP_ID}.svg DESTINATION ${VERLOMBA_ICONDIR}/scalable/apps)
foreach(size ${VERLOMBA_ICON_SIZES})
  install(FILES data/icons/verlomba-${size}.png RENAME ${VERLOMBA_APP_ID}.png
    DESTINATION ${VERLOMBA_ICONDIR}/${size}x${size}/apps)
endforeach()

install(FILES ${GENERATED_DIR}/verlomba.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES LICENSE RENAME copyright DESTINATION ${VERLOMBA_DOCDIR})
install(FILES Verlomba.ini DESTINATION ${VERLOMBA_DOCDIR}/examples)
