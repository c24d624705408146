# The desktop's media controls: an MPRIS service on the session D-Bus (GIO).
if(NOT TARGET PkgConfig::GIO)
  pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
endif()
quillery_library(quillery_mpris
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mpris_gdbus.cpp
  LINK PkgConfig::GIO)
