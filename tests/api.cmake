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

quillery_test(api_moderation_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/api/moderation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/moderation_forum_test.cpp
  LINK quillery_api PkgConfig::RAPIDJSON)
quillery_test(api_forum_writing_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/api/forum_writing_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api/forum_writing_local_test.cpp
  LINK quillery_api quillery_post_composer_model)
add_dependencies(api_forum_writing_tests local-forum)

quillery_test(api_account_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/account_test.cpp
  LINK quillery_api)

quillery_test(api_personal_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/personal_records_test.cpp
  LINK quillery_api)

quillery_test(api_upload_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/upload_test.cpp
  LINK quillery_api)

# HTTPS against the local forum in TLS mode, with certificates made at run time.
quillery_test(api_https_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/https_test.cpp
  LINK quillery_api)
