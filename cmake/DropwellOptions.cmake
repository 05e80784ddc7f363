# Switches a developer turns on in one line, e.g.
#   scripts/build -DDROPWELL_SANITIZE=ON
option(DROPWELL_WERROR "Treat compiler warnings as errors" OFF)
option(DROPWELL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(DROPWELL_CLANG_TIDY "Run clang-tidy while compiling" OFF)
option(DROPWELL_X11 "Build the X11 platform backend" ON)
option(DROPWELL_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)

add_library(dropwell_warnings INTERFACE)
target_compile_options(dropwell_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${DROPWELL_WERROR}>:-Werror>)
# Qt's own headers are not ours to fix.
target_compile_definitions(dropwell_warnings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)

if(DROPWELL_SANITIZE)
  # Line tables are all a sanitizer's stack trace reads, and -O1 is what its
  # authors advise; together they compile in about 60% of -O2 -g's time.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endif()

# Everything is instrumented for the fuzzer's coverage and the sanitizers; only
# the fuzz targets themselves link libFuzzer's main().
if(DROPWELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "DROPWELL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  # Clang 14's check of calls through function pointers puts data before each
  # function, which the parts of a coroutine, split across sections, cannot
  # have ("Cannot represent a difference across sections").
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=function -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DROPWELL_CLANG_TIDY)
  find_program(CLANG_TIDY_EXE NAMES clang-tidy REQUIRED)
  set(CMAKE_CXX_CLANG_TIDY ${CLANG_TIDY_EXE})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DropwellLayers.cmake)

# dropwell_target(<target> [LAYER <layer>]): warnings on; the code of a layer
# sees the folders its layer may use, tests and tools the whole tree.
function(dropwell_target target)
  cmake_parse_arguments(arg "" "LAYER" "" ${ARGN})
  target_link_libraries(${target} PRIVATE dropwell_warnings)
  if(arg_LAYER)
    dropwell_layer_view(${target} ${arg_LAYER})
  else()
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()
