# Helpers that every subsystem folder uses to declare its targets.
#
# rd_core_library(name SOURCES ... HEADERS ... DEPENDS ...)
#   A toolkit-free library: it never links Qt, and every file it lists is
#   checked by the test "core_includes_no_qt".
# rd_qt_library(name SOURCES ... HEADERS ... DEPENDS ...)
#   A library of the Qt layer; built only with RD_WITH_QT.
# rd_test(name SOURCES ... DEPENDS ... [QT])
#   A GoogleTest (or, with QT, a Qt Test) executable registered with CTest.

# -Wrestrict is off: GCC 12 reports it falsely inside std::string's
# operator+ at -O3 (GCC bug 105329), never for code of ours.
function(rd_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                         $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endfunction()

function(rd_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES} ${ARG_HEADERS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  rd_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY RD_CORE_TARGETS ${name})
  foreach(f IN LISTS ARG_SOURCES ARG_HEADERS)
    get_filename_component(abs ${f} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY RD_CORE_FILES ${abs})
  endforeach()
endfunction()

function(rd_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;DEPENDS" ${ARGN})
  if(NOT RD_WITH_QT)
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES} ${ARG_HEADERS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Widgets)
  rd_warnings(${name})
endfunction()

function(rd_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_QT AND NOT RD_WITH_QT)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} Qt6::Test Qt6::Widgets)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  rd_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Registers a test that fails when a file of a core library includes a Qt header.
function(rd_add_core_purity_test)
  get_property(files GLOBAL PROPERTY RD_CORE_FILES)
  set(list_file ${CMAKE_BINARY_DIR}/core_files.txt)
  list(JOIN files "\n" text)
  file(WRITE ${list_file} "${text}\n")
  add_test(NAME core_includes_no_qt
           COMMAND ${CMAKE_COMMAND} -DLIST=${list_file} -P ${PROJECT_SOURCE_DIR}/cmake/CheckNoQt.cmake)
endfunction()

# rd_core: every core library, for benchmarks and tools that use them all.
function(rd_add_core_umbrella)
  get_property(targets GLOBAL PROPERTY RD_CORE_TARGETS)
  add_library(rd_core INTERFACE)
  target_link_libraries(rd_core INTERFACE ${targets})
endfunction()
