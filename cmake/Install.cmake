# What a desktop finds of the program once installed: the desktop entry,
# the AppStream data, the icon and the manual pages. The program, the cue
# sounds and the local forum are installed where they are built
# (src/app/app.cmake, tools/*/CMakeLists.txt). The version in the AppStream
# data and the manual pages is project(VERSION) in CMakeLists.txt.
set(QUILLERY_APP_ID org.quillery.Quillery)

install(FILES ${CMAKE_SOURCE_DIR}/data/${QUILLERY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/data/${QUILLERY_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/data/${QUILLERY_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/data/${QUILLERY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/${QUILLERY_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

foreach(page quillery.1 quillery-local-forum.1)
  configure_file(${CMAKE_SOURCE_DIR}/data/man/${page}.in ${CMAKE_BINARY_DIR}/data/man/${page} @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/data/man/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
