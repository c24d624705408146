# Warnings and sanitizers for every target of ours.
add_compile_options(-Wall -Wextra -Wshadow=local -Wnon-virtual-dtor)
if(QUILLERY_WERROR)
  add_compile_options(-Werror)
endif()
if(QUILLERY_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# quillery_library(NAME SOURCES... LINK libs...) — a static library whose
# headers are included from src/ as "area/header.h".
function(quillery_library name)
  cmake_parse_arguments(Q "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${Q_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${Q_LINK})
endfunction()
