# The personal centre: its pages and state against a loopback server, then
# the dialog under Xvfb against the real local forum.
quillery_test(personal_center_pages_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/personal_center_pages_test.cpp
  LINK quillery_personal_center_model)

quillery_test(personal_center_dialog_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/personal_center_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_personal_center PkgConfig::GTK3 PkgConfig::ATK)
