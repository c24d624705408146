# The saved login with its password in the desktop keyring.
quillery_library(quillery_login_credentials
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/login_credentials.cpp
  LINK quillery_settings quillery_keyring)
