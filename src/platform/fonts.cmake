# Reading the font configuration early, beside the toolkit's start.
quillery_library(quillery_font_warm_up
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/font_warm_up_fontconfig.cpp
  LINK PkgConfig::FONTCONFIG Threads::Threads)
