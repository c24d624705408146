# The floor check of src/ against a tiny tree of its own.
quillery_script_test(check_floors_self_test
  /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/floors/check_floors_test.py
  ${CMAKE_SOURCE_DIR}/scripts/check-floors)
