# The forum server client against a real loopback server.
quillery_test(api_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/api/body_encoding_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/json_envelope_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/send_walk_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/session_forms_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/transport_limits_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/transport_test.cpp
  LINK quillery_api)

quillery_test(api_forum_reading_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/api/forum_lists_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/forum_post_test.cpp
  LINK quillery_api)
