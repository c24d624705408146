# The post detail window: its texts without a window, then the real dialog
# under Xvfb with its player on the null output and media over loopback.
quillery_test(posts_model_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_detail_model_test.cpp
  LINK quillery_posts_model)
quillery_test(posts_composer_model_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_composer_model_test.cpp
  LINK quillery_post_composer_model)
quillery_test(posts_dialog_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_detail_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio/media_server.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_post_detail quillery_window_focus PkgConfig::GTK3 PkgConfig::ATK PkgConfig::HTTPLIB)
quillery_test(posts_commands_model_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_commands_model_test.cpp
  LINK quillery_post_commands_model)
quillery_test(posts_commands_dialog_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_commands_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_post_detail quillery_post_composer quillery_window_focus PkgConfig::GTK3 PkgConfig::ATK PkgConfig::RAPIDJSON)
add_dependencies(posts_commands_dialog_test local-forum)
quillery_test(posts_composer_dialog_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_composer_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_post_composer quillery_window_focus PkgConfig::GTK3 PkgConfig::ATK)
quillery_test(posts_composer_inserts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/composer_inserts_test.cpp
  LINK quillery_post_composer_model)
quillery_test(posts_drafts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/posts/post_drafts_test.cpp
  LINK quillery_post_drafts_store)
