# Warnings and sanitizers for every target of ours.
add_compile_options(-Wall -Wextra -Wnon-virtual-dtor)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wshadow=local)
endif()
if(QUILLERY_WERROR)
  add_compile_options(-Werror)
endif()
if(QUILLERY_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLERY_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Every library is instrumented for coverage and checked by ASan and
  # UBSan; only the harnesses link libFuzzer's main. UBSan reports stay
  # recoverable so that fuzz/ubsan.supp can silence the one known report
  # in RapidJSON; UBSAN_OPTIONS=halt_on_error=1 makes all others fatal.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QUILLERY_SANITIZE)
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
