# Closing the real program while it waits for a slow local forum (close
# box, logout signals, media controls' Quit, a dialog in its own wait).
quillery_script_test(closing_atspi_during_wait
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_close_during_wait.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(closing_atspi_during_wait PROPERTIES RESOURCE_LOCK x_keyboard)

# Escape reaches every wait wherever the focus is: the composer's upload,
# started from its "插入" menu by keyboard.
quillery_script_test(closing_atspi_escape_in_waits
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_wait_escape.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(closing_atspi_escape_in_waits PROPERTIES RESOURCE_LOCK x_keyboard)

# The focus back on the main window's list after a notice box and the
# composer close together, under a real window manager.
quillery_script_test(closing_atspi_focus_return
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_focus_return.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(closing_atspi_focus_return PROPERTIES RESOURCE_LOCK x_keyboard)

# Drafts survive SIGKILL: restored with 恢复, removed by publishing and by 丢弃.
quillery_script_test(closing_atspi_drafts
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_drafts.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(closing_atspi_drafts PROPERTIES RESOURCE_LOCK x_keyboard)
