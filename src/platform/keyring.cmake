# The desktop keyring through libsecret. Like libcurl, libsecret is opened
# on first use (keyring_libsecret.cpp): only its header is used here.
if(NOT LIBSECRET_FOUND)
  pkg_check_modules(LIBSECRET REQUIRED libsecret-1)
endif()
quillery_library(quillery_keyring
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/keyring_libsecret.cpp
  LINK ${CMAKE_DL_LIBS} Threads::Threads)
target_include_directories(quillery_keyring SYSTEM PRIVATE ${LIBSECRET_INCLUDE_DIRS})
target_compile_options(quillery_keyring PRIVATE ${LIBSECRET_CFLAGS_OTHER})
