# The application object and the main window (library, so GUI tests can
# build the real window), and the program itself.
quillery_library(quillery_app
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/quillery_app.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ready_signal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_navigation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_forum.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_posts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_music.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_music_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_frame_session.cpp
  # One library a line, so that concerns added side by side merge cleanly.
  LINK quillery_session
       quillery_login_dialogs
       quillery_personal_center
       quillery_look
       quillery_a11y
       quillery_window_focus
       quillery_cue
       quillery_forum_controller
       quillery_post_detail
       quillery_post_composer
       quillery_ui_messages
       quillery_window_closer
       quillery_termination_signals
       quillery_file_wildcard
       quillery_api
       quillery_settings
       quillery_music_playback
       quillery_music_hotkeys
       quillery_music_mpris
       wx::core)

add_executable(quillery ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quillery PRIVATE quillery_app quillery_font_warm_up)
install(TARGETS quillery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
