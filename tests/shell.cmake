# The main window, the look helpers and the accessibility layer with real
# windows under Xvfb; the program itself through AT-SPI.
quillery_test(shell_window_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/main_frame_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/look_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/accessibility_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK quillery_app PkgConfig::GTK3 PkgConfig::ATK
  GUI)

# The real program seen through AT-SPI. Keys go through the X keyboard
# focus, so tests that press keys with xdotool share the "x_keyboard" lock.
quillery_script_test(shell_atspi_main_window
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_main_window.py $<TARGET_FILE:quillery>)
set_tests_properties(shell_atspi_main_window PROPERTIES RESOURCE_LOCK x_keyboard)

# The line the program writes once its first view is in the list, which
# the start-up benchmark waits for.
quillery_script_test(shell_atspi_ready_signal
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_ready_signal.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
# It presses no key, but its windows and its failure box take the X
# keyboard focus: another walk's keys would answer the box (and be lost to
# that walk) if both ran at once.
set_tests_properties(shell_atspi_ready_signal PROPERTIES RESOURCE_LOCK x_keyboard)
