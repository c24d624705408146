# The main window's session rules without a window, against the local forum
# server and a loopback test server.
quillery_test(session_controller_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/session/session_controller_test.cpp
  LINK quillery_session)

# The real program against the local forum server through AT-SPI: register,
# log in with the keyboard, start again with automatic login.
quillery_script_test(session_atspi_accounts
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_account_session.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(session_atspi_accounts PROPERTIES RESOURCE_LOCK x_keyboard)

# The main window's session built for real under Xvfb.
quillery_test(session_window_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/session/main_frame_session_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_app PkgConfig::GTK3 PkgConfig::ATK)
