# What Orca hears on a keyboard walk through the real program, in a session
# of its own (its own bus and display, so Orca follows only this program):
# refilled lists, the category selector, the post dialog, message boxes.
quillery_script_test(screen_reader_orca_walk
  COMMAND env -u QUILLERY_IN_DBUS bash ${CMAKE_SOURCE_DIR}/scripts/with-display
          /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_orca_walk.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(screen_reader_orca_walk PROPERTIES SKIP_RETURN_CODE 77)
