# The forum server client: transport glue, session forms, envelope and JSON
# reading, body encoding, and the server operations.
quillery_library(quillery_api
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/account_endpoints.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/api_client_send.cpp
    ${CMAKE_CURRENT_LIST_DIR}/auth_variants.cpp
    ${CMAKE_CURRENT_LIST_DIR}/body_encoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cookies.cpp
    ${CMAKE_CURRENT_LIST_DIR}/envelope.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_reading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_writing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/json_read.cpp
    ${CMAKE_CURRENT_LIST_DIR}/moderation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/moderation_variants.cpp
    ${CMAKE_CURRENT_LIST_DIR}/personal_parsers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/personal_reading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/post_body.cpp
    ${CMAKE_CURRENT_LIST_DIR}/user_profile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/upload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/upload_client.cpp
    ${CMAKE_CURRENT_LIST_DIR}/utf8_text.cpp
  LINK quillery_api_endpoint quillery_http quillery_files wx::base PkgConfig::RAPIDJSON)
