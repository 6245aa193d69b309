# Build helpers of the libFuzzer targets, shared by every folder under fuzz/.
# They are only meant for clang: each folder includes this file inside its
# `if(CMAKE_CXX_COMPILER_ID MATCHES Clang)`.

# A folder configured on its own compiles in the suite's language mode.
if(CMAKE_SOURCE_DIR STREQUAL CMAKE_CURRENT_SOURCE_DIR)
  set(CMAKE_CXX_STANDARD 20)
  set(CMAKE_CXX_STANDARD_REQUIRED ON)
endif()

get_filename_component(FUZZ_SUITE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# The sanitizers stop at the first finding, undefined behaviour included, so
# that libFuzzer keeps the input that caused it.
set(FUZZ_COMPILE_SANITIZERS -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
set(FUZZ_TARGET_SANITIZERS -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)

# fuzz_find_packages()
# The Debian libraries the DICOM library and its loaded libraries build
# against: FreeType, fontconfig, OpenJPEG and libjpeg-turbo. A macro, so that
# the imported targets belong to the calling folder.
macro(fuzz_find_packages)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
  pkg_check_modules(OPENJP2 REQUIRED IMPORTED_TARGET libopenjp2)
  find_package(JPEG REQUIRED)
endmacro()

# fuzz_add_target(<name> SOURCES ... [INCLUDE_DIRS ...] [LINK ...])
# One libFuzzer program: its sources are instrumented for coverage and
# checked by AddressSanitizer and UndefinedBehaviorSanitizer; they see the
# shared helpers of fuzz/ (FuzzInputFile.h).
function(fuzz_add_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDE_DIRS;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${FUZZ_SUITE_ROOT}/fuzz ${ARG_INCLUDE_DIRS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  target_compile_options(${name} PRIVATE ${FUZZ_TARGET_SANITIZERS})
  target_link_options(${name} PRIVATE ${FUZZ_TARGET_SANITIZERS})
endfunction()

# fuzz_add_library(<name> SOURCES ... [INCLUDE_DIRS ...] [LINK ...])
# A static library of code under test, instrumented like a fuzz target's own
# sources; the fuzz targets linking it see its include folders.
function(fuzz_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDE_DIRS;LINK" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${ARG_INCLUDE_DIRS})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  target_compile_options(${name} PRIVATE ${FUZZ_COMPILE_SANITIZERS})
endfunction()

# fuzz_write_export_headers(<folder> <Library>:<MACRO> ...)
# The export headers of the suite's libraries for code compiled into one
# program: every export macro is empty.
function(fuzz_write_export_headers folder)
  foreach(pair IN LISTS ARGN)
    string(REPLACE ":" ";" parts ${pair})
    list(GET parts 0 library)
    list(GET parts 1 macro)
    file(CONFIGURE OUTPUT ${folder}/${library}Export.h
         CONTENT "#pragma once\n#define ${macro}\n")
  endforeach()
endfunction()

# fuzz_add_module(<name> SOURCES ... [INCLUDE_DIRS ...] [LINK ...] [LINK_OPTIONS ...])
# A library the code under test loads by file name (lib<name>.so beside the
# targets), instrumented like them. It takes the sanitizer and libFuzzer
# runtimes from the fuzz target that loads it, so it is linked without
# --no-undefined.
function(fuzz_add_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDE_DIRS;LINK;LINK_OPTIONS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PRIVATE ${ARG_INCLUDE_DIRS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  target_compile_options(${name} PRIVATE ${FUZZ_COMPILE_SANITIZERS})
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic-functions ${ARG_LINK_OPTIONS})
endfunction()

# fuzz_glob_folders(<sources variable> <includes variable> <folder> ...)
# The sources (src/*.cpp) and the include folders of suite folders, appended
# to the two variables, for libraries compiled into the fuzz build.
function(fuzz_glob_folders sources_var includes_var)
  set(sources ${${sources_var}})
  set(includes ${${includes_var}})
  foreach(folder IN LISTS ARGN)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${FUZZ_SUITE_ROOT}/${folder}/src/*.cpp)
    list(APPEND sources ${folder_sources})
    list(APPEND includes ${FUZZ_SUITE_ROOT}/${folder}/include)
  endforeach()
  set(${sources_var} ${sources} PARENT_SCOPE)
  set(${includes_var} ${includes} PARENT_SCOPE)
endfunction()

# fuzz_glob_outside(<folder> <sources variable> <includes variable>)
# The sources of a library under outside/ and the include folders it
# compiles with.
function(fuzz_glob_outside folder sources_var includes_var)
  set(dir ${FUZZ_SUITE_ROOT}/outside/${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(${sources_var} ${sources} PARENT_SCOPE)
  set(${includes_var} ${dir} ${FUZZ_SUITE_ROOT}/outside/common PARENT_SCOPE)
endfunction()

# fuzz_add_loaded_libraries(<module>:<outside folder> ...)
# The libraries the DICOM library loads by file name: the RLE, resampling and
# JPEG 2000 ones and the two JPEG ones, and each <module> of its folder's
# sources. Their target names go to FUZZ_LOADED_LIBRARIES.
function(fuzz_add_loaded_libraries)
  set(Quoral2K_LINK PkgConfig::OPENJP2)
  set(modules)
  foreach(pair Vennet:rle Pemsola:resample Quoral2K:jpeg2000 ${ARGN})
    string(REPLACE ":" ";" parts ${pair})
    list(GET parts 0 module)
    list(GET parts 1 folder)
    fuzz_glob_outside(${folder} module_sources module_includes)
    fuzz_add_module(${module}
      SOURCES ${module_sources}
      INCLUDE_DIRS ${module_includes}
      LINK ${${module}_LINK})
    list(APPEND modules ${module})
  endforeach()
  # The two JPEG libraries share one core and differ in their entries.
  fuzz_glob_outside(jpeg core_sources jpeg_includes)
  list(FILTER core_sources EXCLUDE REGEX "Quor(ex|al)Entries\\.cpp$")
  set(jpeg_dir ${FUZZ_SUITE_ROOT}/outside/jpeg)
  foreach(module Quorex Quoral)
    fuzz_add_module(${module}
      SOURCES ${core_sources} ${jpeg_dir}/${module}Entries.cpp
      INCLUDE_DIRS ${jpeg_includes}
      LINK JPEG::JPEG
      LINK_OPTIONS -Wl,--version-script=${jpeg_dir}/JpegEntries.map)
    list(APPEND modules ${module})
  endforeach()
  set(FUZZ_LOADED_LIBRARIES ${modules} PARENT_SCOPE)
endfunction()
