# Closing the real program while it waits for a slow local forum (close
# box, logout signals, media controls' Quit, a dialog in its own wait).
quillery_script_test(closing_atspi_during_wait
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_close_during_wait.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(closing_atspi_during_wait PROPERTIES RESOURCE_LOCK x_keyboard)
