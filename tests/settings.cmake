quillery_test(settings_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/account/settings_store_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/account/settings_file_test.cpp
  LINK quillery_settings)
