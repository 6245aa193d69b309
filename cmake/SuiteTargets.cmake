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

# suite_add_test(<name> SOURCES ... LINK ... [INCLUDE_DIRS ...] [SHARDS <n>]
#                [ALONE <case> ...])
# One GoogleTest executable. CTest starts it once, or as <n> shards side by
# side for the long ones (<name>.0 ... <name>.<n-1>), never once per case: the
# sanitizers' start-up and the fixtures' set-up are paid per process. A case
# named in ALONE needs a process of its own (it watches process-wide state from
# its start) and runs as <name>.<case>. Each process prints only what failed,
# naming the case, and writes its results to build/<preset>/test-results/ for
# the summary of scripts/test.sh.
function(suite_add_test name)
  cmake_parse_arguments(ARG "" "SHARDS" "SOURCES;LINK;INCLUDE_DIRS;ALONE" ${ARGN})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  suite_target_settings(${name})
  suite_test_settings(${name})
  target_include_directories(${name} PRIVATE ${ARG_INCLUDE_DIRS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gmock GTest::gtest_main)
  if(TARGET SuiteTestHeaders)
    target_precompile_headers(${name} REUSE_FROM SuiteTestHeaders)
  endif()
  set(shared_filter)
  if(ARG_ALONE)
    list(JOIN ARG_ALONE ":" alone_cases)
    set(shared_filter --gtest_filter=-${alone_cases})
  endif()
  math(EXPR last_shard "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last_shard})
    if(ARG_SHARDS EQUAL 1)
      set(test_name ${name})
    else()
      set(test_name ${name}.${shard})
    endif()
    # Long programs come first, so a small machine never ends on one.
    suite_add_test_process(${name} ${test_name} ${ARG_SHARDS} ${shard} ${ARG_SHARDS} ${shared_filter})
  endforeach()
  foreach(case IN LISTS ARG_ALONE)
    suite_add_test_process(${name} ${name}.${case} 1 0 1 --gtest_filter=${case})
  endforeach()
endfunction()

# One CTest entry: a run of <program> as shard <index> of <shards>.
function(suite_add_test_process program test_name shards index cost)
  add_test(NAME ${test_name}
    COMMAND ${program} --gtest_brief=1 --gtest_output=xml:${SUITE_TEST_RESULTS_DIR}/${test_name}.xml ${ARGN})
  set_tests_properties(${test_name} PROPERTIES
    ENVIRONMENT "TZ=UTC;GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${index}"
    COST ${cost})
  set_property(TARGET ${program} APPEND PROPERTY SUITE_TEST_PROCESSES ${test_name})
endfunction()

# suite_test_properties(<program> <property> <value> ...)
# CTest properties for every process of a test program, its shards and ALONE
# cases included; called in the folder that added the program. COST puts a
# long program first on a tree without timings of its own (a fresh clone), so
# that no run ends waiting on it; RESOURCE_LOCK keeps apart the programs that
# cannot run beside each other.
function(suite_test_properties program)
  get_target_property(processes ${program} SUITE_TEST_PROCESSES)
  set_tests_properties(${processes} PROPERTIES ${ARGN})
endfunction()

# The definitions every test program compiles with; the shared precompiled
# header is made with the same ones.
function(suite_test_settings target)
  # Line tables are all a sanitizer report needs to name file and line; the
  # full debug information of the test code only made every test compile
  # longer. The libraries under test keep theirs for stepping through.
  target_compile_options(${target} PRIVATE -Winvalid-pch $<$<CONFIG:Debug>:-g1>)
  target_compile_definitions(${target} PRIVATE
    SUITE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    SUITE_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    SUITE_CORPUS_DIR="${SUITE_CORPUS_DIR}"
    SUITE_OUTPUT_DIR="${SUITE_OUTPUT_DIR}")
endfunction()

# suite_add_bench(<name> SOURCES ... LINK ...)
# In a sanitized tree a benchmark only proves that it builds: its own code goes
# without instrumentation and debug information, while the libraries it times
# keep theirs and the sanitizer runtime is still linked in, so it runs.
function(suite_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(SUITE_SANITIZE)
    target_compile_options(${name} PRIVATE ${SUITE_WARNINGS} -g0)
    target_link_options(${name} PRIVATE ${SUITE_SANITIZERS})
  else()
    suite_target_settings(${name})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LINK} benchmark::benchmark benchmark::benchmark_main)
endfunction()
