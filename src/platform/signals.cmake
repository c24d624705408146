# Logout, hang-up and Ctrl+C delivered to the event loop (GLib).
if(NOT TARGET PkgConfig::GIO)
  pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
endif()
quillery_library(quillery_termination_signals
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/termination_signals_glib.cpp
  LINK PkgConfig::GIO)
