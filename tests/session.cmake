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

# Where a remembered password lives: once on a private bus with GNOME
# Keyring, once on a bus without any Secret Service (with-keyring.sh).
add_executable(keyring_session_tests ${CMAKE_CURRENT_LIST_DIR}/session/keyring_test.cpp)
target_link_libraries(keyring_session_tests PRIVATE quillery_test_support quillery_session
                      quillery_login_model GTest::gtest_main)
foreach(_mode keyring none)
  if(_mode STREQUAL keyring)
    set(_filter "KeyringTest.*")
  else()
    set(_filter "NoKeyringTest.*")
  endif()
  quillery_script_test(session_keyring_${_mode}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/session/with-keyring.sh ${_mode}
            $<TARGET_FILE:keyring_session_tests> --gtest_filter=${_filter})
endforeach()
