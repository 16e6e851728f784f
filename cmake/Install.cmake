# What `cmake --install` (make install) and the Debian package put in place.
# Paths follow GNUInstallDirs; the package build sets CMAKE_INSTALL_BINDIR to
# "games", where Debian keeps games.
include(GNUInstallDirs)

set(VERLOMBA_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/verlomba)
set(VERLOMBA_ICONDIR ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
set(VERLOMBA_ICON_SIZES 16 32 48 64 128 256)

configure_file(data/verlomba.metainfo.xml.in ${GENERATED_DIR}/${VERLOMBA_APP_ID}.metainfo.xml @ONLY)
configure_file(data/verlomba.6.in ${GENERATED_DIR}/verlomba.6 @ONLY)
include(cmake/DebianDocs.cmake)
verlomba_debian_changelog(${GENERATED_DIR}/${VERLOMBA_APP_ID}.metainfo.xml ${GENERATED_DIR}/changelog)
verlomba_debian_copyright(${PROJECT_SOURCE_DIR}/LICENSE ${GENERATED_DIR}/copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE)
# gzip -n leaves out the name and time, so the package builds the same.
foreach(page verlomba.6 changelog)
  add_custom_command(OUTPUT ${GENERATED_DIR}/${page}.gz
    COMMAND gzip -9n -c ${page} > ${page}.gz
    DEPENDS ${GENERATED_DIR}/${page}
    WORKING_DIRECTORY ${GENERATED_DIR}
    VERBATIM)
endforeach()
add_custom_target(verlomba_docs ALL DEPENDS ${GENERATED_DIR}/verlomba.6.gz ${GENERATED_DIR}/changelog.gz)

install(TARGETS verlomba RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compilers' notes, as
# Debian's own strip does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/verlomba\" COMMAND_ERROR_IS_FATAL ANY)
  endif()
")

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
install(FILES ${GENERATED_DIR}/copyright ${GENERATED_DIR}/changelog.gz DESTINATION ${VERLOMBA_DOCDIR})
install(FILES Verlomba.ini DESTINATION ${VERLOMBA_DOCDIR}/examples)
