quillery_test(settings_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings/settings_store_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings/settings_file_test.cpp
  LINK quillery_settings)

# The login windows: their decisions without a window, then the real
# dialogs under Xvfb against the local forum server.
quillery_test(login_form_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/login_form_test.cpp
  LINK quillery_login_model)
quillery_test(login_dialog_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/login_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_login_dialogs quillery_window_focus PkgConfig::GTK3 PkgConfig::ATK)
