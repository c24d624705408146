# The personal centre: its pages and state, then the dialog under Xvfb,
# against a loopback server; the real program against the local forum.
quillery_test(personal_center_pages_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/personal_center_pages_test.cpp
  LINK quillery_personal_center_model)

quillery_test(personal_center_dialog_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/personal_center_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_personal_center PkgConfig::GTK3 PkgConfig::ATK)

# The real program through AT-SPI, logged in as a demo member.
quillery_script_test(personal_center_atspi
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_personal_center.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(personal_center_atspi PROPERTIES RESOURCE_LOCK x_keyboard)
