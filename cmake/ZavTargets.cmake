# Warnings are errors on our own code; third-party headers come in as system includes.
function(zav_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wno-missing-field-initializers -Werror)
  # GCC 12's flow-based warnings report standard-library code inlined at -O2 (vector growth,
  # short strings) as overflows; the sanitizer build checks the real thing instead.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-stringop-overflow -Wno-maybe-uninitialized
                                             -Wno-restrict)
  endif()
endfunction()

# A library of our own: one per folder of the layout.
function(zav_library name)
  add_library(${name} ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # A library's files compile in batches of eight: the standard and toolkit headers are read
  # once a batch, and two cores still have batches to share. Names local to a file
  # (anonymous namespaces, static functions) must therefore differ across the folder.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  zav_warnings(${name})
endfunction()

# Code that only tests run: optimised builds compile it at -O1, which takes about 40 % less
# compiler time than -O2; the code under test keeps the build's own optimisation. Its files
# compile as one (unity build): GoogleTest's headers and ours are read once.
function(zav_test_code target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-O1>)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
endfunction()

# A library of code the tests share.
function(zav_test_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  zav_warnings(${name})
  zav_test_code(${name})
endfunction()

# A GoogleTest executable registered with ctest; each TEST becomes its own ctest case.
# OWN_MAIN: the sources bring their own main (for example to create an application object).
function(zav_test name)
  cmake_parse_arguments(ZT "OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ZT_SOURCES})
  zav_test_code(${name})
  target_link_libraries(${name} PRIVATE ${ZT_LIBS} GTest::gtest GTest::gmock)
  if(NOT ZT_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  zav_warnings(${name})
  # A cross build cannot list a program's cases while it builds: the whole program is one
  # ctest case, run through CMAKE_CROSSCOMPILING_EMULATOR (wine).
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${ZT_LABELS}")
    if(ZT_TIMEOUT)
      set_tests_properties(${name} PROPERTIES TIMEOUT ${ZT_TIMEOUT})
    endif()
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # Labels (a list) and a timeout do not survive gtest_discover_tests' PROPERTIES, so they
  # are set once the discovered tests (listed in ${name}_TESTS) have been added.
  set(properties "LABELS \"${ZT_LABELS}\"")
  if(ZT_TIMEOUT)
    string(APPEND properties " TIMEOUT ${ZT_TIMEOUT}")
  endif()
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${include_file}
    "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ${properties})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
