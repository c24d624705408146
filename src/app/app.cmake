# The application object and the main window (library, so GUI tests can
# build the real window), and the program itself.
quillery_library(qapp
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/quillery_app.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_navigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_forum.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_posts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_music.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_music_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_session.cpp
  LINK qsession quillery_login_dialogs qlook qa11y qwindow_focus qcue qforum_controller quillery_post_detail quillery_post_composer qui_messages quillery_api quillery_settings
       quillery_music_playback quillery_music_hotkeys wx::core)

add_executable(quillery ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quillery PRIVATE qapp)
install(TARGETS quillery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/quillery.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
