# The main window's forum side built for real under Xvfb against the local
# forum server: home view, lists, paging, floors, search and failures.
quillery_test(forum_ui_window_test GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/forum_ui/main_frame_forum_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_ui/forum_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_ui/first_view_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_app PkgConfig::GTK3)

# The real program against the local forum server through AT-SPI. Keys go
# through the X keyboard focus, hence the shared "x_keyboard" lock.
quillery_script_test(forum_ui_atspi_browsing
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_forum_browsing.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(forum_ui_atspi_browsing PROPERTIES RESOURCE_LOCK x_keyboard)

# The window keeps answering the screen reader while it waits for a slow
# server, says so, and Escape stops the call.
quillery_script_test(forum_ui_atspi_responsive_wait
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_responsive_wait.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(forum_ui_atspi_responsive_wait PROPERTIES RESOURCE_LOCK x_keyboard)
# Writing, editing, replying and deleting through the real program.
quillery_script_test(forum_ui_atspi_writing
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_forum_writing.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(forum_ui_atspi_writing PROPERTIES RESOURCE_LOCK x_keyboard)

# The post detail window's command menu through the real program.
quillery_script_test(forum_ui_atspi_post_actions
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_post_actions.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(forum_ui_atspi_post_actions PROPERTIES RESOURCE_LOCK x_keyboard)

# Uploading an audio file from the composer, publishing and playing it.
quillery_script_test(forum_ui_atspi_composer_uploads
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_composer_uploads.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(forum_ui_atspi_composer_uploads PROPERTIES RESOURCE_LOCK x_keyboard)
