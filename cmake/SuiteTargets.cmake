include(GenerateExportHeader)

set(SUITE_WARNINGS -Wall -Wextra)
# GCC 12 reports a false -Wrestrict inside libstdc++'s string concatenation
# once optimised (fixed in GCC 13).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND SUITE_WARNINGS -Wno-restrict)
endif()
set(SUITE_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# Common compile and link settings of every target of the suite.
function(suite_target_settings target)
  target_compile_options(${target} PRIVATE ${SUITE_WARNINGS})
  if(SUITE_SANITIZE)
    target_compile_options(${target} PRIVATE ${SUITE_SANITIZERS})
    target_link_options(${target} PRIVATE ${SUITE_SANITIZERS})
  endif()
endfunction()

# suite_add_library(<name> EXPORT_MACRO <MACRO> SOURCES ... [INCLUDE_DIRS ...]
#                   [LINK ...] [PRIVATE_LINK ...])
# A shared library with hidden visibility, its own export header
# <name>Export.h (macro <MACRO>) and -Bsymbolic-functions, so a library always
# calls its own definitions even where another one exports the same name.
function(suite_add_library name)
  cmake_parse_arguments(ARG "" "EXPORT_MACRO" "SOURCES;INCLUDE_DIRS;LINK;PRIVATE_LINK" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  suite_target_settings(${name})
  set(export_dir ${CMAKE_BINARY_DIR}/exports/${name})
  generate_export_header(${name}
    BASE_NAME ${name}
    EXPORT_MACRO_NAME ${ARG_EXPORT_MACRO}
    EXPORT_FILE_NAME ${export_dir}/${name}Export.h)
  target_include_directories(${name} PUBLIC ${export_dir} ${ARG_INCLUDE_DIRS})
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic-functions -Wl,--no-undefined)
  if(ARG_LINK)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  endif()
  if(ARG_PRIVATE_LINK)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINK})
  endif()
endfunction()

# suite_add_shim(<name> SOURCES ... [PRIVATE_LINK ...])
# An outside library loaded by file name ("<name>.dll" -> lib<name>.so): plain
# C entries, no export header, nothing links against it.
function(suite_add_shim name)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDE_DIRS;PRIVATE_LINK" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  suite_target_settings(${name})
  target_include_directories(${name} PRIVATE ${ARG_INCLUDE_DIRS})
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic-functions -Wl,--no-undefined)
  if(ARG_PRIVATE_LINK)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LINK})
  endif()
endfunction()

# suite_add_test(<name> SOURCES ... LINK ... [INCLUDE_DIRS ...])
# One GoogleTest executable, registered test by test with CTest.
function(suite_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK;INCLUDE_DIRS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  suite_target_settings(${name})
  target_include_directories(${name} PRIVATE ${ARG_INCLUDE_DIRS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    SUITE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    SUITE_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    SUITE_CORPUS_DIR="${SUITE_CORPUS_DIR}"
    SUITE_OUTPUT_DIR="${SUITE_OUTPUT_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT TZ=UTC)
endfunction()

# suite_add_bench(<name> SOURCES ... LINK ...)
function(suite_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  suite_target_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} benchmark::benchmark benchmark::benchmark_main)
endfunction()
